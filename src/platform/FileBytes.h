#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

// The one way the program reads a whole file.
namespace FileBytes {

// The file's bytes. A missing file is error 53, one that exists but cannot be opened (or is a
// folder) error 75, one that fails while it is read error 57.
Result<QByteArray> read(const QString& path);

} // namespace FileBytes
