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
    enlargePart(big, source, source.rect(), scale);
    return big;
}

void enlargePart(QImage& big, const QImage& picture, const QRect& part, int scale) {
    const QImage source = picture.depth() == 32 ? picture : picture.convertToFormat(big.format());
    const QRect inside = part & source.rect();
    if (inside.isEmpty())
        return;
    // Lines by address: every non-const line access would check again that big is not shared.
    uchar* const bits = big.bits();
    const qsizetype bigLine = big.bytesPerLine();
    const auto rowBytes = std::size_t(inside.width() * scale) * 4;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto* in = reinterpret_cast<const quint32*>(source.constScanLine(y)) + inside.left();
        uchar* const firstLine = bits + y * scale * bigLine + inside.left() * scale * 4;
        auto* first = reinterpret_cast<quint32*>(firstLine);
        for (int x = 0; x < inside.width(); ++x)
            std::fill_n(first + x * scale, scale, in[x]);
        for (int k = 1; k < scale; ++k)
            std::memcpy(firstLine + k * bigLine, firstLine, rowBytes);
    }
}

QRect changedRect(const QImage& before, const QImage& after) {
    if (before.size() != after.size() || before.format() != after.format() || after.depth() != 32)
        return after.rect();
    const int width = after.width();
    int left = width, right = -1, top = after.height(), bottom = -1;
    for (int y = 0; y < after.height(); ++y) {
        const auto* was = reinterpret_cast<const quint32*>(before.constScanLine(y));
        const auto* now = reinterpret_cast<const quint32*>(after.constScanLine(y));
        if (std::memcmp(was, now, std::size_t(width) * 4) == 0)
            continue;
        int first = 0;
        while (was[first] == now[first])
            ++first;
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

QRect follow(QImage& copy, const QImage& picture) {
    const QRect changed = changedRect(copy, picture);
    if (changed == picture.rect()) {
        copy = picture.copy();
        return changed;
    }
    for (int y = changed.top(); y <= changed.bottom(); ++y)
        std::memcpy(copy.scanLine(y) + changed.left() * 4,
                    picture.constScanLine(y) + changed.left() * 4,
                    std::size_t(changed.width()) * 4);
    return changed;
}

} // namespace PixelBlocks
