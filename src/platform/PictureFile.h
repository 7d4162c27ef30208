#pragma once

#include "platform/FileBytes.h"
#include "platform/Result.h"

#include <QImage>
#include <QString>

// Loads a picture file (BMP, GIF, JPEG, or any format Qt reads). A file that cannot be read is
// error 53 or 75 (57 when reading fails), one whose content is not a picture, or only partly
// one, error 481.
// The largest picture file read: a panel picture is at most a few screens of 24-bit pixels
// (64 MiB holds an uncompressed 4K screen eight times over); larger is refused as unreadable.
constexpr qint64 kMaxPictureBytes = FileBytes::kLargest;

Result<QImage> LoadPicture(const QString& path);
