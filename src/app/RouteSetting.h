#pragma once

#include "app/DataIo.h"
#include "platform/RuntimeError.h"

#include <QDate>
#include <QString>

// The rules of route setting that need no window: what the keypad and the lists hand over,
// how the entry is corrected, and what a refused fare file tells the user.
namespace RouteSetting {

constexpr int kRouteDigits = 5;
constexpr int kSectionDigits = 3;
constexpr int kLastSection = 300;

// The display text after a digit key: the digit appended unless the text is full.
QString appendDigit(const QString& display, int digit, int limit);

// The section entered: 0 becomes 1, 301 or more becomes 300.
qint16 clampSection(qint64 entered);

// The route number as file names use it: "00012" gives "12", an empty route "0".
QString routeText(const QString& routeNo);

// The message box text for a fare data file that was not taken.
QString failureMessage(const RuntimeError& error);
// Our lines under it: the file looked for, the fare data folder (empty: the folder the program
// was started in) and where that folder is chosen.
QString failureDetail(const QString& fareFile, const QString& fareDataDir);

// The ticket date of a day as tickets print it: mm-dd-yyyy.
QString ticketDate(const QDate& day);

} // namespace RouteSetting
