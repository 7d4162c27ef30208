#include "FareDisplay.h"

#include "app/RouteSetting.h"
#include "panel/Q57Layout.h"

#include <algorithm>
#include <limits>

namespace FareDisplay {

qint16 nightFare(qint16 fare) {
    if (fare == -1)
        return fare;
    return qint16(std::clamp(2 * int(fare), int(std::numeric_limits<qint16>::min()),
                             int(std::numeric_limits<qint16>::max())));
}

std::vector<std::pair<int, QVariant>> positionValues(const DataIo& data, int row,
                                                     const IniRecord& settings, bool nightOn) {
    const FareRecord& record = data.FareTable(row);
    std::vector<std::pair<int, QVariant>> values;
    for (int position = std::max<int>(data.StartSection, 1); position <= Q57Layout::kPositionCount;
         ++position) {
        const qint16 fare = record.Fare[std::size_t(position)];
        values.emplace_back(position, int(nightOn ? nightFare(fare) : fare));
    }
    if (settings.InfoOrderOn != 0)
        values.emplace_back(settings.InfoOrderSlot + 1,
                            settings.InfoOrderFromZero != 0 ? row - 1 : row);
    if (settings.InfoSeiriNumOn != 0)
        values.emplace_back(settings.InfoSeiriNumSlot + 1, int(record.SeiriNum));
    if (settings.InfoRouteOn != 0)
        values.emplace_back(settings.InfoRouteSlot + 1, data.RouteNo);
    if (settings.InfoColumnOn != 0)
        values.emplace_back(settings.InfoColumnSlot + 1,
                            int(record.Fare[std::size_t(settings.InfoColumn + 1)]));
    return values;
}

QString ticketDateText(const IniRecord& settings, const QString& routeSetDate, const QDate& today) {
    if (settings.DateUpdateOnPrint != 0)
        return RouteSetting::ticketDate(today);
    if (settings.DateKeepAtRouteSet != 0)
        return routeSetDate;
    return settings.FixedDate;
}

} // namespace FareDisplay
