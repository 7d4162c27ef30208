#pragma once

#include "announce/JTalkSpeech.h"
#include "announce/mdlM_Tape.h"
#include "app/Ride.h"
#include "panel/Form1.h"
#include "platform/ScopedHook.h"
#include "render/RideAudio.h"
#include "render/RideClock.h"
#include "settings/SettingsSource.h"
#include "ticket/TicketPluginCache.h"

#include <QImage>
#include <functional>
#include <memory>
#include <optional>

// The panel drawn at a whole scale (its 1x picture with every pixel repeated): what a picture or
// a frame of the ride shows.
QImage renderPanel(Form1& form, int scale);
// The panel at the frame's top left, the background around it and behind its cut corners (the
// shape is the panel's outline at the picture's scale), as the program shows it full screen.
void drawOnBackground(QImage& frame, const QImage& panel, const QRegion& shape,
                      const QColor& background);

// A ride run without a window on a clock of its own: the program's display panel (never shown),
// its ride rules, its announcements and its sounds, set up from a settings file as the program
// sets itself up. Advancing the clock hands every frame that falls due to the frame sink.
class RideRenderer : public RideClock {
public:
    using FrameSink = std::function<void(const QImage& frame)>;

    // With a speech engine, the announcements are spoken with it into the audio; an engine that
    // is not installed leaves speech unusable, as in the program, and says so in the audio's
    // warnings.
    RideRenderer(const IniRecord& settings, std::optional<JTalkSpeech::Config> speech);
    ~RideRenderer();

    // The settings file's record, or why it cannot be read.
    static Result<IniRecord> readSettings(const QString& path);

    qint64 now() const override { return now_; }
    void advance(qint64 milliseconds) override;

    // Frames at fps from the next one due on, each at the scale.
    void setFrameSink(FrameSink sink, int fps, int scale);

    Form1& form() { return form_; }
    Ride& ride() { return ride_; }
    mdlM_Tape& tape() { return tape_; }
    RideAudio& audio() { return audio_; }
    const IniRecord& settings() const { return settings_.record; }
    void setBacklight(int backlight);
    void setBlanked(bool blanked);
    // Whether the operating panel's announcement group could be pressed now: speech usable, the
    // route's announcements read, the display not blank.
    bool announcementsEnabled() const { return announcementsEnabled_; }
    // "送り", when the group can be pressed.
    void announce();
    // The ticket the settings' plug-in prints at the stop shown; null without a plug-in.
    QImage ticket() const { return ticket_; }

private:
    void applySettings();
    void drawTicket(const Ride::Ticket& ticket);
    qint64 frameTime(qint64 frame) const { return frame * 1000 / fps_; }

    KeptSettings settings_;
    TicketPluginCache plugins_;
    ScopedHook<KvRes::TicketPlugins> pluginsInstalled_{plugins_};
    Form1 form_;
    RideAudio audio_;
    mdlM_Tape tape_;
    Ride ride_;
    QImage ticket_;
    QImage frame_;
    FrameSink sink_;
    int fps_ = 30;
    int scale_ = 1;
    qint64 now_ = 0;
    qint64 nextFrame_ = 0;
    bool announcementsEnabled_ = false;
};
