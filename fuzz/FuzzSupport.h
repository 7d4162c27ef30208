#pragma once

#include "platform/ShiftJis.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// What every fuzz target shares: a broken invariant stops the run as a crash does, and texts
// are made from the input the two ways a name reaches us.
namespace FuzzSupport {

// Aborts with the invariant on stderr, so libFuzzer keeps the input and the run fails.
inline void check(bool holds, const char* invariant) {
    if (holds)
        return;
    std::fputs("fuzz invariant broken: ", stderr);
    std::fputs(invariant, stderr);
    std::fputc('\n', stderr);
    std::abort();
}

// The input's bytes without a copy, so that reading past them is caught by AddressSanitizer.
inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A text from the input: its first byte chooses between Shift-JIS bytes as a file holds them
// (even) and any UTF-16 units, unpaired surrogates included, as typed or pasted (odd).
inline QString textOf(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
    const QByteArray rest = bytes.mid(1);
    if ((bytes[0] & 1) == 0)
        return ShiftJis::decode(rest);
    QString text;
    for (qsizetype i = 0; i + 1 < rest.size(); i += 2)
        text.append(QChar(char16_t(quint8(rest[i]) | quint8(rest[i + 1]) << 8)));
    return text;
}

// The Shift-JIS byte count of each character of a text that has been through the codec once:
// where one character ends and the next begins among the bytes.
inline std::vector<int> characterBytes(const QString& decoded) {
    std::vector<int> lengths;
    lengths.reserve(std::size_t(decoded.size()));
    for (const QChar c : decoded)
        lengths.push_back(ShiftJis::lenB(QString(c)));
    return lengths;
}

} // namespace FuzzSupport
