#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

// The one way the program writes a file: the old file is replaced only once the new one is
// completely on disk, and stays byte for byte as it was otherwise.
namespace SafeSave {

// Error 70 for a file the user made read-only or a folder that cannot be written, 75 when the
// new file cannot be opened for another reason, 61 when it cannot be written completely (full
// disk, file-size limit), 57 when it cannot take the old one's place.
Result<void> write(const QString& path, const QByteArray& bytes);

// Makes a write past the process's file-size limit (a quota) fail with EFBIG, which write()
// reports as a full disk, instead of the kernel ending the program with SIGXFSZ. The programs
// it starts inherit it. Called once, at start.
void failWritesPastFileSizeLimit();

} // namespace SafeSave
