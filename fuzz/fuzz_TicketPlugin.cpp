// Any bytes as a ticket plug-in: the reader and the authors' checker agree, a plug-in that is
// read keeps every promise the format makes (elements inside the ticket, capabilities that match
// what it draws), and its bar codes always encode.

#include "FuzzSupport.h"
#include "ticket/Nw7.h"
#include "ticket/TicketPlugin.h"

using FuzzSupport::check;
using Kind = TicketElement::Kind;

namespace {

void checkConsistent(const TicketPlugin& plugin) {
    const PlgInfo& info = plugin.info;
    check(info.PrevWidth >= 0 && info.PrevHeight >= 0, "the preview size is not negative");
    check(plugin.width >= 1 && plugin.height >= 1, "the ticket has a size");
    check(info.CorpSwitch < 1 || !plugin.companies.isEmpty(), "switchable companies exist");
    int barcodes = 0;
    for (const TicketElement& e : plugin.elements) {
        check(e.x >= 0 && e.y >= 0 && e.width >= 0 && e.height >= 0 &&
                  e.x + e.width <= plugin.width && e.y + e.height <= plugin.height,
              "an element lies inside the ticket");
        check(e.kind == Kind::Line || (e.width > 0 && e.height > 0), "an element has a size");
        switch (e.kind) {
        case Kind::Date:
            check(info.CanDate == 1, "a date is drawn only with CanDate 1");
            break;
        case Kind::Time:
            check(info.CanTime == 1, "a time is drawn only with CanTime 1");
            break;
        case Kind::RouteNo:
            check(info.CanRouteNo == 1, "a route is drawn only with CanRouteNo 1");
            break;
        case Kind::StopName:
            check(info.CanStopName == 1, "a stop name is drawn only with CanStopName 1");
            break;
        case Kind::Company:
            check(!plugin.companies.isEmpty(), "a company element has a name");
            break;
        case Kind::Text:
            check(!e.text.isEmpty(), "a text element has text");
            break;
        case Kind::Barcode:
            ++barcodes;
            check(info.CanBarcode == 1, "a bar code is drawn only with CanBarcode 1");
            break;
        default:
            break;
        }
        if (e.kind != Kind::Line && e.kind != Kind::Box && e.kind != Kind::Barcode)
            check(!e.font.isEmpty() && e.size >= 1 && e.size <= e.height, "a text fits its box");
    }
    check(info.CanBarcode != 1 || info.BarcodeCount == barcodes, "BarcodeCount counts bar codes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = FuzzSupport::bytesOf(data, size);
    const Result<TicketPlugin> parsed = parseTicketPlugin(bytes);
    const QList<TicketPluginProblem> problems = checkTicketPlugin(bytes);
    check(problems.isEmpty() == bool(parsed), "the reader and the checker agree");
    for (qsizetype i = 0; i < problems.size(); ++i)
        check(problems[i].line >= 1 && (i == 0 || problems[i - 1].line <= problems[i].line),
              "problems come in line order");
    if (!parsed) {
        check(
            parsed.error().description() ==
                QStringLiteral("line %1: %2").arg(problems.front().line).arg(problems.front().what),
            "the reader reports the first problem");
        return 0;
    }
    const TicketPlugin& plugin = parsed.value();
    checkConsistent(plugin);
    const TicketValues values{{}, {}, {}, plugin.info.MaxRouteNo, qint16(plugin.info.StopRangeFrom),
                              1,  0};
    for (const TicketElement& e : plugin.elements) {
        const QString barcode = ticketBarcodeData(plugin.info, e, values);
        check(barcode.isEmpty() || !Nw7::modules(barcode).empty(), "bar code data encodes");
    }
    return 0;
}
