#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// Fare data files for tests, written out byte by byte.
namespace FareFileBytes {

// A 16-bit number as the file holds it, low byte first.
inline QByteArray word(int value) {
    const auto bits = quint16(value);
    return QByteArray(1, char(bits & 0xFF)) + char(bits >> 8);
}

// One stop: the name's Shift-JIS bytes, its ticket number, and fares 1.. (the rest 0).
inline QByteArray record(const QByteArray& nameBytes, int seiriNum, const QList<int>& fares) {
    QByteArray bytes = word(int(nameBytes.size())) + nameBytes + word(seiriNum);
    for (int k = 0; k < 150; ++k)
        bytes += word(k < fares.size() ? fares[k] : 0);
    return bytes;
}

inline QByteArray count(int n) {
    return word(n);
}

// A route of n stops named "S1", "S2", ...: stop r has ticket number r and, at positions
// n = 1 to 3, the fare 100 * r + n.
inline QByteArray simpleRoute(int stops) {
    QByteArray bytes = count(stops);
    for (int r = 1; r <= stops; ++r)
        bytes += record("S" + QByteArray::number(r), r, {100 * r + 1, 100 * r + 2, 100 * r + 3});
    return bytes;
}

} // namespace FareFileBytes
