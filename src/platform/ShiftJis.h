#pragma once

#include <QByteArray>
#include <QString>

// The one codec for every byte that crosses a file or the resource library: code page 932.
namespace ShiftJis {

// Characters the codec cannot encode (wave dash, minus) are first replaced by the full-width
// forms that code page 932 writes for them; anything still unencodable becomes '?'.
QByteArray encode(const QString& text);

// Invalid or incomplete byte sequences are dropped rather than shown as replacement marks.
QString decode(const QByteArray& bytes);

// Length of the text in Shift-JIS bytes.
int lenB(const QString& text);

// Bytes start .. start + count - 1 (1-based) of the Shift-JIS text, decoded again. Where the
// range cuts a double-byte character, a lone lead byte is dropped and a lone trail byte reads
// as whatever single-byte character it is in code page 932.
QString midB(const QString& text, int start, int count);

} // namespace ShiftJis
