#pragma once

#include <QImage>
#include <QString>

// Loads a picture file (BMP, GIF, JPEG, or any format Qt reads). A file that cannot be opened
// is error 53 or 75, one whose content is not a picture error 481.
QImage LoadPicture(const QString& path);
