#pragma once

#include "announce/TapeFile.h"
#include "app/FareRecord.h"
#include "gtfs/GtfsFeed.h"
#include "platform/Result.h"

#include <QStringList>
#include <vector>

// One pattern of a feed's route as the program rides it: the fare table of the fare data file
// and the announcements of the announcement file.
namespace RouteImport {

// The display's ticket-number positions, and the stops a fare data file holds.
constexpr int kMaxTicketNumbers = 61;

// How ticket numbers are given: boarding stops whose fares to every later stop are the same
// share one (as operators number their tickets), or every stop has its own.
enum class Tickets { BySection, ByStop };

// The character written for one Shift-JIS lacks, where no compatible form of it is there
// either: the geta mark, which Japanese print has long used for a missing character.
inline constexpr char16_t kSubstitute = u'〓';

struct Route {
    std::vector<FareRecord> records;
    std::vector<TapeData> announcements;
    int ticketNumbers = 0;
    // The lowest and highest fare the table shows; 0 when it shows none.
    int lowestFare = 0;
    int highestFare = 0;
    // What the user should know: pairs of stops without a fare, a fare taken for every pair,
    // characters replaced.
    QStringList warnings;
};

// The route and its announcements. Error 9 for a pattern of more stops than a fare data file
// holds or more ticket numbers than the display has, 6 for a fare the file cannot hold.
Result<Route> build(const GtfsFeed& feed, int route, const GtfsFeed::Pattern& pattern,
                    Tickets tickets);

// The text as Shift-JIS can write it: a character it lacks becomes its compatibility form
// where Shift-JIS has that (㋿ → 令和), else the substitute; variation selectors are dropped,
// the base character stays. Each replacement is added to replaced ("𠮷 → 〓").
QString forShiftJis(const QString& text, QStringList& replaced);

} // namespace RouteImport
