#pragma once

#include "app/FareRecord.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Converts between a route written as CSV (UTF-8, one stop per line: name, ticket number,
// fare 1, fare 2, ... up to fare 150; missing fares are 0; lines starting with # are notes)
// and the fare data file (*.hy3) the simulator reads.
namespace Hy3Csv {

struct Conversion {
    QByteArray fareFile; // empty when the CSV was refused
    QString error;       // "line 4: ..." when it was refused
};

Conversion fromCsv(const QString& csv);

// The stops as CSV, fares after the last non-zero one left out.
QString toCsv(const std::vector<FareRecord>& records);

} // namespace Hy3Csv
