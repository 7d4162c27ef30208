#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QString>

// Loads a picture file (BMP, GIF, JPEG, or any format Qt reads). A file that cannot be read is
// error 53 or 75 (57 when reading fails), one whose content is not a picture, or only partly
// one, error 481.
Result<QImage> LoadPicture(const QString& path);
