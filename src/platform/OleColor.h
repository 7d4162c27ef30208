#pragma once

#include <QColor>

// Colours are stored as 32-bit 0x00BBGGRR values, red in the low byte.
namespace OleColor {

inline QColor toQColor(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline quint32 fromQColor(const QColor& colour) {
    return quint32(colour.red()) | quint32(colour.green()) << 8 | quint32(colour.blue()) << 16;
}

} // namespace OleColor
