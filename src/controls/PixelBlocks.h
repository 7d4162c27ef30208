#pragma once

#include <QImage>
#include <QRect>

// Pictures shown enlarged by whole scales: every pixel a block of scale x scale, so that what the
// unit shows at one pixel per pixel stays sharp, and made once rather than on every repaint.
namespace PixelBlocks {

// The picture with each pixel repeated as a block; at scale 1 the picture itself.
QImage enlarged(const QImage& picture, int scale);

// Enlarges only a part of the picture into big, which already shows the rest of it at that
// scale (its size is the picture's times the scale, and it has 32 bits per pixel).
void enlargePart(QImage& big, const QImage& picture, const QRect& part, int scale);

// The smallest rectangle holding every pixel in which two pictures of one size differ; the whole
// of the second when their sizes or formats differ.
QRect changedRect(const QImage& before, const QImage& after);

// Brings copy up to picture, writing only where they differ, and returns that rectangle. The copy
// keeps pixels of its own: the picture can be drawn on again without being copied whole first.
QRect follow(QImage& copy, const QImage& picture);

} // namespace PixelBlocks
