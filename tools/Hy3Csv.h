#pragma once

#include "app/FareRecord.h"
#include "platform/Result.h"

#include <QString>
#include <vector>

// A route written as CSV (UTF-8, one stop per line: name, ticket number, fare 1, fare 2, ... up
// to fare 150; missing fares are 0; lines starting with # are notes). FareFile writes and reads
// the fare data file (*.hy3) the records stand for.
namespace Hy3Csv {

// The stops of the CSV; a refused line is an error described "line 4: ...".
Result<std::vector<FareRecord>> fromCsv(const QString& csv);

// The stops as CSV, fares after the last non-zero one left out.
QString toCsv(const std::vector<FareRecord>& records);

} // namespace Hy3Csv
