#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A ticket plug-in (.4SP): what one operator's numbered ticket looks like and what it can print.
// The file is UTF-8 text; docs/ticket-plugins.md describes it.

// What a plug-in can print, as the options dialog asks for it: fourteen little-endian 32-bit
// fields, 56 bytes.
struct PlgInfo {
    qint32 Reserved = 0;
    qint32 PrevWidth = 0;  // twips
    qint32 PrevHeight = 0; // twips
    qint32 CanDate = 0;
    qint32 CanTime = 0;
    qint32 CanRouteNo = 0;
    qint32 CanStopName = 0;
    qint32 CanBarcode = 0;
    qint32 BarcodeCount = 0;
    qint32 MaxRouteNo = 0;
    qint32 BarcodeRouteMode = 0;
    qint32 StopRangeFrom = 0;
    qint32 StopRangeTo = 0;
    qint32 CorpSwitch = 0;

    bool operator==(const PlgInfo&) const = default;
};
static_assert(sizeof(PlgInfo) == 56);

// One drawn element of the ticket. Positions and sizes are in the ticket's own units (see
// TicketPlugin::width and height); a line runs from (x, y) to (x + width, y + height).
struct TicketElement {
    enum class Kind { Text, Number, StopName, Date, Time, RouteNo, Company, Line, Box, Barcode };
    enum class Align { Left, Center, Right };

    Kind kind = Kind::Text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    QString text; // the fixed text of Kind::Text
    QString font; // a Windows face name the program maps (platform/JapaneseFaces.h)
    int size = 0; // text height in ticket units
    bool bold = false;
    Align align = Align::Left;
    quint32 color = 0;           // 0xRRGGBB: text, lines, box borders and bars
    int lineWidth = 1;           // lines and box borders, in ticket units; 0 = a box without border
    std::optional<quint32> fill; // a box's inside, 0xRRGGBB
    int direction = 0;           // the bar code's direction flag, 0 or 1

    bool operator==(const TicketElement&) const = default;
};

struct TicketPlugin {
    PlgInfo info;
    QString comment;       // several lines
    QStringList companies; // the company-name variants
    int width = 0;         // the ticket's own units, drawn scaled to the preview
    int height = 0;
    std::vector<TicketElement> elements;

    bool operator==(const TicketPlugin&) const = default;
};

// What a stop's ticket shows, as the operating panel hands it over.
struct TicketValues {
    QString stopName;
    QString dateText;
    QString timeText; // hh:mm:ss
    qint32 routeNo = 0;
    qint16 seiriNum = 0; // the ticket number
    qint16 row = 0;      // the record number
    qint16 company = -1; // company variant, -1 for none
};

// Reads a plug-in file's content. A file it does not understand fails with error 321 and
// "line N: what is wrong" (its first problem) as the description.
Result<TicketPlugin> parseTicketPlugin(const QByteArray& bytes);
// The same for a file; a file that cannot be read gives FileBytes' error.
Result<TicketPlugin> readTicketPlugin(const QString& path);

// One problem of a plug-in file, for authors: its line (1-based) and what is wrong.
struct TicketPluginProblem {
    int line = 0;
    QString what;

    bool operator==(const TicketPluginProblem&) const = default;
};
// Every problem of the content, in line order; empty when parseTicketPlugin accepts it.
QList<TicketPluginProblem> checkTicketPlugin(const QByteArray& bytes);

// The text a text-like element shows for these values (the company name of the chosen
// variant, the first variant when none or an unknown one is chosen).
QString ticketElementText(const TicketPlugin& plugin, const TicketElement& element,
                          const TicketValues& values);

// The NW-7 data a bar code element carries for these values: start "A", the route number in
// three digits, then the direction flag in one digit (BarcodeRouteMode other than 1) or the
// record number in three digits (BarcodeRouteMode 1, sequential), the ticket number in three
// digits, stop "A". Empty when a value falls outside what the plug-in declares (route 1 to
// MaxRouteNo, ticket number StopRangeFrom to StopRangeTo, record 1 to 999).
QString ticketBarcodeData(const PlgInfo& info, const TicketElement& element,
                          const TicketValues& values);
