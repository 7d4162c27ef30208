#include "WindowShape.h"

namespace WindowShape {

QRegion roundRect2x2(int left, int top, int right, int bottom) {
    const int width = right - left;
    const int height = bottom - top;
    if (width < 3 || height < 3)
        return QRegion(left, top, qMax(0, width), qMax(0, height));
    return QRegion(left + 1, top, width - 2, height) + QRegion(left, top + 1, width, height - 2);
}

} // namespace WindowShape
