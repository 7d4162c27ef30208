#pragma once

#include "app/DataIo.h"

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

class DisplayPanel;
class SettingsSource;
class mdlM_Tape;
namespace mdlSndAPI {
class Sounds;
}

// The rules of the operating panel without its window: the route that is set and where the
// display stands on it, route setting with its lamp test, stepping with its sounds, night fare,
// blanking, the ticket date and the announcements that step the fares. The window, a renderer
// or a test drives it; it shows the ride on a DisplayPanel and tells its driver what changed.
class Ride : public QObject {
    Q_OBJECT
public:
    enum class Direction { Back, Forward };

    // A route setting that was not taken: the message box's text and our lines under it.
    struct Refusal {
        QString message;
        QString detail;
    };

    // What the ticket preview prints at the stop shown.
    struct Ticket {
        QString stopName;
        QString date;
        QString time;
        qint32 routeNumber = 0;
        qint16 seiriNum = 0;
        qint16 row = 0;
    };

    Ride(DisplayPanel& panel, const SettingsSource& settings, mdlSndAPI::Sounds& sounds,
         mdlM_Tape& tape);

    DataIo& data() { return data_; }
    const DataIo& data() const { return data_; }
    // Stepping and blanking are possible once a route has been set.
    bool routeSet() const { return routeSet_; }
    bool blanked() const { return blanked_; }
    bool canStep() const { return routeSet_ && !blanked_; }
    const QString& TicketDate() const { return TicketDate_; }

    // How long route setting lights every segment; 3000 ms on the real unit.
    void setLampTestMilliseconds(int milliseconds) { lampTestMilliseconds_ = milliseconds; }
    // How the ride holds for the lamp test. The program holds on the wall clock with its
    // windows drawing (BlockingWait); a renderer lets its own clock run on instead.
    using Wait = std::function<void(int milliseconds)>;
    void setWait(Wait wait) { wait_ = std::move(wait); }

    // The sounds of the route entry: a digit key or a route list, and a section list.
    void playEntrySound();
    void playSectionListSound();

    // Takes the route and section as entered (digits as typed, leading zeros kept) and sets the
    // route. The section is kept, corrected to 1 to 300, and the announcements are the new
    // route's, also when the fare data is refused.
    std::optional<Refusal> setRoute(const QString& routeNo, const QString& section);

    // One stop back or on, with its sound; nothing at either end. A step asked for while one is
    // being shown runs after it.
    void step(Direction direction);
    // The next or previous announcement; a linked one steps the fares with it.
    void tapeNext();
    void tapeBack();

    // Doubles the fares from the next display update on.
    void setNightFare(bool on) { nightFare_ = on; }
    void setBlanked(bool blanked);

    // Shows record row (1 to 301).
    void DispData(int row);
    // The strip starts the current stop's name again.
    void showStopNameAgain();

signals:
    // Route setting or blanking changed what can be done.
    void stateChanged();
    // The display shows a stop: the ticket preview prints this.
    void ticketChanged(const Ride::Ticket& ticket);

private:
    void stepOnce(Direction direction);

    DisplayPanel& panel_;
    const SettingsSource& settings_;
    mdlSndAPI::Sounds& sounds_;
    mdlM_Tape& tape_;
    DataIo data_;
    QString TicketDate_;
    bool routeSet_ = false;
    bool blanked_ = false;
    bool nightFare_ = false;
    int lampTestMilliseconds_ = 3000;
    Wait wait_;
    bool stepping_ = false;
    std::deque<Direction> pendingSteps_;
};
