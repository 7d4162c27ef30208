#pragma once

#include "app/FareRecord.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The fare data file (*.hy3): a little-endian signed 16-bit record count, then the records
// back to back, each a 16-bit name length L, L bytes of Shift-JIS name, the 16-bit ticket
// number and 150 16-bit fares. Bytes after the last record are not read.
namespace FareFile {

// The most records a route holds: the fare table's rows.
constexpr int kMaxRecords = 301;

// The largest file a route can need: the count, then every record with the longest name its
// 16-bit length allows. A larger file is refused before it is read.
constexpr qint64 kMaxFileBytes = 2 + qint64(kMaxRecords) * (2 + 65535 + 2 + 150 * 2);

// The record count; error 62 when the file is too short to hold one.
Result<qint16> recordCount(const QByteArray& bytes);

// The first count records; error 62 when the file ends inside one of them.
Result<std::vector<FareRecord>> records(const QByteArray& bytes, int count);

// A stop name as the file stores it: error 5 when Shift-JIS lacks one of its characters, 6 when
// it takes more than 65535 bytes.
Result<QByteArray> nameBytes(const QString& name);

// The file holding these records: error 9 for more than 301 of them, or a name's error as
// nameBytes gives it, with the stop's number.
Result<QByteArray> encode(const std::vector<FareRecord>& records);

} // namespace FareFile
