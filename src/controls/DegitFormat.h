#pragma once

#include <QString>
#include <QVariant>

// How a seven-segment display turns its value into the characters it lights. A value is either
// a number (any numeric QVariant) or a text (a QString); the empty text lights nothing.
namespace DegitFormat {

struct Rules {
    int zeroMode = 0;
    int fillZero = 0;
    int shift = 0;
    int keta = 4;
};

// The rightmost keta characters to draw after zero substitution, zero fill and shift. The
// result may be shorter than keta; it is drawn right-aligned, each character over one cell.
QString visibleText(const QVariant& value, const Rules& rules);

} // namespace DegitFormat
