#pragma once

#include "platform/Result.h"
#include "settings/IniData.h"

#include <QByteArray>

// The byte layout of the settings file: every item of the record in a fixed order, little-endian,
// without gaps; texts as a 16-bit byte count and their Shift-JIS bytes.
namespace IniFile {

// The largest file the layout can hold: every text at its 16-bit count's longest. A larger
// file is refused before it is read.
qint64 maxBytes();

// Error 6 (Overflow) for a text longer than a 16-bit count can hold.
Result<QByteArray> encode(const IniRecord& ini);

// Error 62 (InputPastEndOfFile) when the bytes end before the last item. Bytes after the last
// item are ignored.
Result<IniRecord> decode(const QByteArray& bytes);

} // namespace IniFile
