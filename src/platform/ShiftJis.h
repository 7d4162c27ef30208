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

} // namespace ShiftJis
