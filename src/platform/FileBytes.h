#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

// The one way the program reads a user's file. A stray name may point at a FIFO, a device or a
// file of gigabytes: the file is opened without waiting for a writer, only a regular file is
// read, and never more than the caller's limit.
namespace FileBytes {

// The limit of a file that has none of its own kind: the largest any reader allows.
constexpr qint64 kLargest = 64 * 1024 * 1024;

// The file's bytes. A missing file is error 53; one that exists but cannot be opened, is not a
// regular file (a folder, a FIFO, a device, a socket) or holds more than limit bytes, error 75;
// one that fails while it is read, error 57. A file larger than the limit is refused before it
// is read, and a file that grows while it is read is refused once it passes the limit.
Result<QByteArray> read(const QString& path, qint64 limit = kLargest);

// At most the first count bytes of the file, for telling its type; errors as read gives them.
Result<QByteArray> head(const QString& path, qint64 count);

} // namespace FileBytes
