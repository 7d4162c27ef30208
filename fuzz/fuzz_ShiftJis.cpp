// The Shift-JIS codec and its byte functions on any bytes and any text. The first four input
// bytes are midB's start and count (16-bit each, so ranges before, inside and past the text all
// come up); the rest is the text.

#include "FuzzSupport.h"

using FuzzSupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    const int start = qint16(data[0] | data[1] << 8);
    const int count = qint16(data[2] | data[3] << 8);
    const QByteArray bytes = FuzzSupport::bytesOf(data + 4, size - 4);

    const QString decoded = ShiftJis::decode(bytes);
    check(!decoded.contains(QChar::ReplacementCharacter), "decoding drops what it cannot read");
    check(ShiftJis::lenB(decoded) <= bytes.size(), "decoded text needs no more bytes than it had");
    check(ShiftJis::decode(ShiftJis::encode(decoded)) == decoded,
          "decoded text encodes and decodes to itself");

    const QString text = FuzzSupport::textOf(bytes);
    const QByteArray encoded = ShiftJis::encode(text);
    const QString stored = ShiftJis::decode(encoded);
    check(ShiftJis::encode(stored) == encoded, "a text's bytes are settled after one round trip");
    const int length = ShiftJis::lenB(text);

    const QString range = ShiftJis::midB(text, start, count);
    if (start < 1 || count <= 0 || start > length)
        check(range.isEmpty(), "a range outside the bytes is empty");
    else
        check(range.size() <= count && ShiftJis::lenB(range) <= count,
              "a byte range holds no more than its bytes");

    // Cut where a character ends (the last such place before start), the two ranges make up
    // the whole text.
    int cut = 0;
    for (const int width : FuzzSupport::characterBytes(stored)) {
        if (cut + width >= start)
            break;
        cut += width;
    }
    check(ShiftJis::midB(text, 1, cut) + ShiftJis::midB(text, cut + 1, length - cut) == stored,
          "ranges cut between characters make up the text");
    return 0;
}
