#pragma once

#include <QImage>
#include <QRect>

// Pictures shown enlarged by whole scales: every pixel a block of scale x scale, so that what the
// unit shows at one pixel per pixel stays sharp, and made once rather than on every repaint.
namespace PixelBlocks {

// The picture with each pixel repeated as a block; at scale 1 the picture itself.
QImage enlarged(const QImage& picture, int scale);

// The smallest rectangle holding every pixel in which two pictures of one size differ; the whole
// of the second when their sizes or formats differ.
QRect changedRect(const QImage& before, const QImage& after);

} // namespace PixelBlocks
