#pragma once

#include <QRegion>

// Window outlines built from rectangles, so the corners are exact to the pixel.
namespace WindowShape {

// The rectangle from (left, top) to (right, bottom), right and bottom exclusive, with corner
// ellipses of 2 x 2 pixels: each of the four corner pixels is cut away.
QRegion roundRect2x2(int left, int top, int right, int bottom);

} // namespace WindowShape
