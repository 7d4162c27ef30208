#pragma once

#include "platform/Result.h"

#include <QList>
#include <QString>

// What a rendered ride does and when, one action a line of a small CSV:
//   set,ROUTE[,SECTION]   sets the route (its sound and lamp test), section 1 if none
//   step | back           one stop on or back, with its sound
//   announce              the next announcement (送り), stepping the fares when it is linked
//   night,0|1             night fare off or on
//   blank,0|1             the display lit again or blanked
//   backlight,0|1|2       OFF, ON1 or ON2
//   wait,SECONDS          lets the ride run on (decimals allowed)
// Actions take no time of their own but what the ride itself holds for (the lamp test, a sound
// played to its end); only wait moves the ride on. Blank lines and lines from # are skipped.
namespace RideScript {

struct Action {
    enum class Kind { Set, Step, Back, Announce, Night, Blank, Backlight, Wait };
    Kind kind = Kind::Step;
    QString route;
    QString section;
    // Night and blank 0 or 1, backlight 0 to 2, wait in milliseconds.
    qint64 value = 0;
    int line = 0;
};

// The whole script, or error 321 (invalid file format) whose description names the first bad
// line and why it is bad ("line 3: unknown action \"jump\"").
Result<QList<Action>> parse(const QString& text);

} // namespace RideScript
