#include "PictureFile.h"

#include "platform/FileBytes.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// Qt decodes a JPEG that was cut off without reporting an error, grey where the data ran out.
// A whole one closes its last scan with the end-of-image marker, which the coded data after a
// scan's start marker never holds by itself.
bool cutOffJpeg(const QByteArray& format, const QByteArray& bytes) {
    return format == "jpeg" && bytes.lastIndexOf(QByteArrayView("\xFF\xD9")) <
                                   bytes.lastIndexOf(QByteArrayView("\xFF\xDA"));
}

} // namespace

Result<QImage> LoadPicture(const QString& path) {
    const Result<QByteArray> bytes = FileBytes::read(path, kMaxPictureBytes);
    if (!bytes)
        return bytes.error();
    QBuffer buffer;
    buffer.setData(bytes.value());
    QImageReader reader(&buffer);
    if (cutOffJpeg(reader.format(), bytes.value()))
        return RuntimeError(RuntimeError::InvalidPicture);
    QImage picture = reader.read();
    if (picture.isNull() || reader.error() != QImageReader::UnknownError)
        return RuntimeError(RuntimeError::InvalidPicture);
    return picture;
}
