#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// Fare data files for tests, written out byte by byte.
namespace FareFileBytes {

inline void word(QByteArray& bytes, int value) {
    bytes.append(char(value & 0xFF));
    bytes.append(char((quint16(value) >> 8) & 0xFF));
}

// One stop: the name's Shift-JIS bytes, its ticket number, and fares 1.. (the rest 0).
inline QByteArray record(const QByteArray& nameBytes, int seiriNum, const QList<int>& fares) {
    QByteArray bytes;
    word(bytes, int(nameBytes.size()));
    bytes.append(nameBytes);
    word(bytes, seiriNum);
    int written = 0;
    for (int fare : fares) {
        word(bytes, fare);
        ++written;
    }
    for (; written < 150; ++written)
        word(bytes, 0);
    return bytes;
}

inline QByteArray count(int n) {
    QByteArray bytes;
    word(bytes, n);
    return bytes;
}

// A route of n stops named "S1", "S2", ...: stop r has ticket number r and, at positions
// n = 1 to 3, the fare 100 * r + n.
inline QByteArray simpleRoute(int stops) {
    QByteArray bytes = count(stops);
    for (int r = 1; r <= stops; ++r) {
        QByteArray name = "S" + QByteArray::number(r);
        bytes += record(name, r, {100 * r + 1, 100 * r + 2, 100 * r + 3});
    }
    return bytes;
}

} // namespace FareFileBytes
