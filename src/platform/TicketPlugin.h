#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// A ticket plug-in (.4SP): what one operator's numbered ticket looks like and what it can print.

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
};
static_assert(sizeof(PlgInfo) == 56);

// One drawn element of the ticket; the fields are the format's (see docs/ticket-plugins.md).
// (To be completed with the format.)
struct TicketElement {};

struct TicketPlugin {
    PlgInfo info;
    QString comment;        // several lines
    QStringList companies;  // the company-name variants
    std::vector<TicketElement> elements;
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

// Reads a plug-in file's content. A file it does not understand fails with the line and what
// is wrong in the error's description.
Result<TicketPlugin> parseTicketPlugin(const QByteArray& bytes);
Result<TicketPlugin> readTicketPlugin(const QString& path);
