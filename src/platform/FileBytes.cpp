#include "FileBytes.h"

#include <QFile>
#include <QFileInfo>

namespace FileBytes {

Result<QByteArray> read(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return RuntimeError(RuntimeError::FileNotFound);
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return RuntimeError(RuntimeError::PathFileAccessError);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return RuntimeError(RuntimeError::DeviceIoError);
    return bytes;
}

} // namespace FileBytes
