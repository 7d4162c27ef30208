#pragma once

#include "app/FareRecord.h"

#include <QByteArray>
#include <optional>
#include <vector>

// The fare data file (*.hy3): a little-endian signed 16-bit record count, then the records
// back to back, each a 16-bit name length L, L bytes of Shift-JIS name, the 16-bit ticket
// number and 150 16-bit fares. Bytes after the last record are not read.
namespace FareFileReader {

// The record count, or nothing when the file is too short to hold one.
std::optional<qint16> recordCount(const QByteArray& bytes);

// The first count records, or nothing when the file ends inside one of them.
std::optional<std::vector<FareRecord>> records(const QByteArray& bytes, int count);

} // namespace FareFileReader
