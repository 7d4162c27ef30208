#include "SafeSave.h"

#include <QFileInfo>
#include <QSaveFile>
#include <csignal>

namespace SafeSave {

Result<void> write(const QString& path, const QByteArray& bytes) {
    const QFileInfo existing(path);
    // A file the user made read-only keeps what it holds; QSaveFile's rename would replace it.
    if (existing.exists() && !existing.isWritable())
        return RuntimeError(RuntimeError::PermissionDenied);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return RuntimeError(QFileInfo(existing.absolutePath()).isWritable()
                                ? RuntimeError::PathFileAccessError
                                : RuntimeError::PermissionDenied);
    // Qt 6.4's commit() ignores a failure of its own final flush (QTBUG-75077) and would put a
    // cut-off file in place of the old one, so every byte is known to be written before it.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        // Leaves the old file alone; the temporary file goes with the QSaveFile.
        file.cancelWriting();
        return RuntimeError(RuntimeError::DiskFull);
    }
    if (!file.commit())
        return RuntimeError(RuntimeError::DeviceIoError);
    return {};
}

void failWritesPastFileSizeLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace SafeSave
