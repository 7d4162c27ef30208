#include "Q57Layout.h"

namespace {

// Rows 1..7 (row 7 holds position 61 alone, under position 60), then columns 1..10, in twips.
constexpr int kFareTop[8] = {0, 600, 1170, 1740, 2280, 2835, 3375, 3945};
constexpr int kLabelTop[8] = {0, 375, 945, 1500, 2055, 2610, 3165, 3720};
constexpr int kFareLeft[11] = {0, 2235, 3105, 3960, 4830, 5700, 6555, 7425, 8295, 9150, 10020};
constexpr int kLabelLeft[11] = {0, 2235, 3105, 3960, 4830, 5685, 6555, 7410, 8280, 9135, 10005};
constexpr int kLabelWidth = 780;
constexpr int kLabelHeight = 240;

int rowOf(int n) {
    return n == 61 ? 7 : (n + 9) / 10;
}
int columnOf(int n) {
    return n == 61 ? 10 : n - 10 * (rowOf(n) - 1);
}

} // namespace

namespace Q57Layout {

QPoint fareTopLeft(int n) {
    return QPoint(kFareLeft[columnOf(n)], kFareTop[rowOf(n)]) / kTwipsPerPixel;
}

QRect labelRect(int n) {
    return QRect(kLabelLeft[columnOf(n)] / kTwipsPerPixel, kLabelTop[rowOf(n)] / kTwipsPerPixel,
                 kLabelWidth / kTwipsPerPixel, kLabelHeight / kTwipsPerPixel);
}

} // namespace Q57Layout
