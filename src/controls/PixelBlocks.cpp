#include "PixelBlocks.h"

#include <algorithm>
#include <cstring>

namespace PixelBlocks {

QImage enlarged(const QImage& picture, int scale) {
    if (scale <= 1 || picture.isNull())
        return picture;
    const QImage source = picture.depth() == 32
                              ? picture
                              : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage big(source.size() * scale, source.format());
    const auto lineBytes = std::size_t(big.bytesPerLine());
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const quint32*>(source.constScanLine(y));
        auto* first = reinterpret_cast<quint32*>(big.scanLine(y * scale));
        for (int x = 0; x < source.width(); ++x)
            std::fill_n(first + x * scale, scale, in[x]);
        for (int k = 1; k < scale; ++k)
            std::memcpy(big.scanLine(y * scale + k), first, lineBytes);
    }
    return big;
}

QRect changedRect(const QImage& before, const QImage& after) {
    if (before.size() != after.size() || before.format() != after.format() || after.depth() != 32)
        return after.rect();
    int left = after.width(), right = -1, top = after.height(), bottom = -1;
    for (int y = 0; y < after.height(); ++y) {
        const auto* was = reinterpret_cast<const quint32*>(before.constScanLine(y));
        const auto* now = reinterpret_cast<const quint32*>(after.constScanLine(y));
        const int width = after.width();
        int first = 0;
        while (first < width && was[first] == now[first])
            ++first;
        if (first == width)
            continue;
        int last = width - 1;
        while (was[last] == now[last])
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace PixelBlocks
