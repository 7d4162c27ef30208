#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// One stop of a route: its name, the ticket number issued there, and the fare shown there for
// every ticket number. Fare column N is Fare[N], 1 to 150; Fare[0] is not used.
struct FareRecord {
    static constexpr int kFareColumns = 150;

    QString StopName;
    qint16 SeiriNum = 0;
    std::array<qint16, kFareColumns + 1> Fare{};

    bool operator==(const FareRecord&) const = default;
};
