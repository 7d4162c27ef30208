#include "PictureFile.h"

#include "platform/RuntimeError.h"

#include <QFile>
#include <QImageReader>

QImage LoadPicture(const QString& path) {
    QFile file(path);
    if (!file.exists())
        throw RuntimeError(RuntimeError::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(RuntimeError::PathFileAccessError);
    QImageReader reader(&file);
    QImage picture = reader.read();
    if (picture.isNull())
        throw RuntimeError(RuntimeError::InvalidPicture);
    return picture;
}
