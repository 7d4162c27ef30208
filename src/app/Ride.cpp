#include "Ride.h"

#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "app/FareDisplay.h"
#include "app/RouteSetting.h"
#include "panel/DisplayPanel.h"
#include "panel/Q57Layout.h"
#include "platform/BlockingWait.h"
#include "platform/RuntimeError.h"
#include "settings/SettingsSource.h"

#include <QDate>
#include <QTime>

Ride::Ride(DisplayPanel& panel, const SettingsSource& settings, mdlSndAPI::Sounds& sounds,
           mdlM_Tape& tape)
    : panel_(panel), settings_(settings), sounds_(sounds), tape_(tape), wait_(BlockingWait::wait) {}

void Ride::playEntrySound() {
    sounds_.PlaySoundFile(settings_.currentSettings().SoundReset, mdlSndAPI::Alias::S1, false, 0);
}

void Ride::playSectionListSound() {
    sounds_.PlaySoundFile(settings_.currentSettings().SoundRouteSet, mdlSndAPI::Alias::S1, false,
                          0);
}

std::optional<Ride::Refusal> Ride::setRoute(const QString& routeNo, const QString& section) {
    const IniRecord& settings = settings_.currentSettings();
    sounds_.PlaySoundFile(settings.SoundRouteSet, mdlSndAPI::Alias::S1, false, 0);
    data_.RouteNo = routeNo;
    data_.StartSection = RouteSetting::clampSection(leadingNumber(section));
    try {
        // Read before the fare data is checked: a refused route has the new announcements.
        tape_.LoadTapeData(withSeparator(settings.TapeDataDir),
                           RouteSetting::routeText(data_.RouteNo));
        const QString fareFile = data_.FareFilePath(settings.FareDataDir);
        const Result<void> loaded = data_.LoadFareFile(fareFile);
        if (!loaded)
            return Refusal{RouteSetting::failureMessage(loaded.error()),
                           RouteSetting::failureDetail(fareFile, settings.FareDataDir)};
        panel_.setStripName(QStringLiteral("系統選別中"));
        // The step chimes, made ready during the lamp test rather than loaded by the first steps.
        for (const QString& chime :
             settings.StepSoundAlways != 0
                 ? QStringList{settings.StepSoundFile}
                 : QStringList{settings.StepSoundFile1, settings.StepSoundFile2,
                               settings.StepSoundFile3})
            sounds_.PrepareSoundFile(chime, mdlSndAPI::Alias::S2);
        QStringList names;
        for (int row = 1; row <= data_.StopCount; ++row)
            names.append(data_.FareTable(row).StopName);
        panel_.prepareStripNames(names);
        panel_.lampTest();
        wait_(lampTestMilliseconds_);
        for (int n = 1; n <= Q57Layout::kPositionCount; ++n)
            panel_.setFare(n, 0);
        routeSet_ = true;
        emit stateChanged();
        TicketDate_ = settings.DateUpdateOnPrint != 0 || settings.DateKeepAtRouteSet != 0
                          ? RouteSetting::ticketDate(QDate::currentDate())
                          : settings.FixedDate;
        DispData(data_.CurStop + 1);
    } catch (const RuntimeError& error) {
        return Refusal{RouteSetting::failureMessage(error), QString()};
    }
    return std::nullopt;
}

void Ride::step(Direction direction) {
    pendingSteps_.push_back(direction);
    if (stepping_)
        return;
    stepping_ = true;
    while (!pendingSteps_.empty()) {
        const Direction next = pendingSteps_.front();
        pendingSteps_.pop_front();
        stepOnce(next);
    }
    stepping_ = false;
}

void Ride::stepOnce(Direction direction) {
    if (direction == Direction::Back) {
        if (data_.CurStop == 0)
            return;
        --data_.CurStop;
    } else {
        // A linked announcement can ask for a step before any route has been set.
        if (data_.CurStop >= data_.StopCount - 1)
            return;
        ++data_.CurStop;
    }
    const IniRecord& settings = settings_.currentSettings();
    const bool always = settings.StepSoundAlways != 0;
    const int value =
        always ? 0
               : data_.FareTable(data_.CurStop + 1).Fare[std::size_t(settings.StepSoundColumn + 1)];
    sounds_.PlaySoundFile(mdlSndAPI::chosenSound(always, settings.StepSoundFile,
                                                 {settings.StepSoundFile1, settings.StepSoundFile2,
                                                  settings.StepSoundFile3},
                                                 value),
                          mdlSndAPI::Alias::S2, settings.StepSoundSync != 0, 0);
    DispData(data_.CurStop + 1);
}

// A linked announcement steps the fares with it, also when the press found the end of the list
// and the position stayed.
void Ride::tapeNext() {
    tape_.TapeNext();
    if (tape_.GetTapeLinkFlag(tape_.GetTapeIndex()) == 1)
        step(Direction::Forward);
}

void Ride::tapeBack() {
    tape_.TapeBack();
    if (tape_.GetTapeLinkFlag(tape_.GetTapeIndex()) == 1)
        step(Direction::Back);
}

void Ride::setBlanked(bool blanked) {
    blanked_ = blanked;
    if (blanked) {
        panel_.setStripName(QString());
        panel_.blank();
        emit stateChanged();
        return;
    }
    panel_.unblank();
    emit stateChanged();
    DispData(data_.CurStop + 1);
}

void Ride::DispData(int row) {
    const IniRecord& settings = settings_.currentSettings();
    for (const auto& [position, value] :
         FareDisplay::positionValues(data_, row, settings, nightFare_))
        panel_.setFare(position, value);
    const FareRecord& record = data_.FareTable(row);
    emit ticketChanged({record.StopName,
                        FareDisplay::ticketDateText(settings, TicketDate_, QDate::currentDate()),
                        QTime::currentTime().toString(QStringLiteral("HH:mm:ss")),
                        qint32(leadingNumber(data_.RouteNo)), record.SeiriNum, qint16(row)});
    panel_.setStripName(record.StopName);
}

void Ride::showStopNameAgain() {
    panel_.setStripName(QString());
    panel_.setStripName(data_.FareTable(data_.CurStop + 1).StopName);
}
