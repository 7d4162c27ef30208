#pragma once

#include "app/DataIo.h"
#include "settings/IniData.h"

#include <QDate>
#include <QVariant>
#include <utility>
#include <vector>

// What the display shows for a record, worked out without the windows.
namespace FareDisplay {

// The night fare of a fare: doubled, except -1 which is no fare; a double beyond the 16-bit
// range stops at its end.
qint16 nightFare(qint16 fare);

// The values for the fare positions for record row, in the order they are written: the fares
// from StartSection to 61, then the information digits, each over the position it names.
std::vector<std::pair<int, QVariant>> positionValues(const DataIo& data, int row,
                                                     const IniRecord& settings, bool nightOn);

// The date printed on the ticket, by the date setting: today, the day the route was set, or
// the fixed date as the options dialog shows it.
QString ticketDateText(const IniRecord& settings, const QString& routeSetDate, const QDate& today);

} // namespace FareDisplay
