#include "RideRenderer.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "panel/PanelAppearance.h"
#include "panel/Q57Layout.h"
#include "panel/mdlQ57_000.h"
#include "platform/FileBytes.h"
#include "render/RenderedSpeech.h"
#include "settings/IniFile.h"
#include "ticket/TicketPlugin.h"

#include <QPainter>

QImage renderPanel(Form1& form, int scale) {
    if (form.scale() != scale)
        form.setScale(scale);
    return form.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void drawOnBackground(QImage& frame, const QImage& panel, const QRegion& shape,
                      const QColor& background) {
    frame.fill(background);
    QPainter painter(&frame);
    painter.setClipRegion(shape);
    painter.drawImage(0, 0, panel);
}

namespace {

// The model defaults' options dialog: the display choices of the settings file.
class DefaultsFromFile : public mdlQ57_000::DefaultsTarget {
public:
    DefaultsFromFile(Form1& form, const IniRecord& settings) : form_(form), settings_(settings) {}
    void SetProp() override { PanelAppearance::applyDisplayChoices(form_, settings_); }

private:
    Form1& form_;
    const IniRecord& settings_;
};

} // namespace

RideRenderer::RideRenderer(const IniRecord& settings, std::optional<JTalkSpeech::Config> speech)
    : audio_(*this),
      tape_(settings_, audio_,
            [this, speech = std::move(speech)]() -> std::unique_ptr<SpeechObject> {
                if (!speech)
                    return nullptr;
                std::unique_ptr<RenderedSpeech> engine =
                    RenderedSpeech::create(audio_, *this, *speech);
                if (!engine)
                    audio_.warn(QStringLiteral("Announcements are not spoken: open_jtalk, its "
                                               "dictionary or a voice is missing"));
                return engine;
            }),
      ride_(form_, settings_, audio_, tape_) {
    settings_.record = settings;
    form_.ChimeiCtl().setClock([this] { return now_; });
    ride_.setWait([this](int milliseconds) { advance(milliseconds); });
    QObject::connect(&ride_, &Ride::ticketChanged, &form_,
                     [this](const Ride::Ticket& ticket) { drawTicket(ticket); });
    tape_.InitSpeech([this](const QString&, bool enabled) { announcementsEnabled_ = enabled; });
    applySettings();
}

RideRenderer::~RideRenderer() = default;

Result<IniRecord> RideRenderer::readSettings(const QString& path) {
    const Result<QByteArray> bytes = FileBytes::read(path, IniFile::maxBytes());
    if (!bytes)
        return bytes.error();
    return IniFile::decode(bytes.value());
}

// As the program applies its settings file when it starts.
void RideRenderer::applySettings() {
    const IniRecord& ini = settings_.record;
    mdlQ57_000::InitFareDegits(form_);
    DefaultsFromFile defaults(form_, ini);
    mdlQ57_000::SetModelDefaults(form_, defaults);
    // Its cut corners.
    form_.setScale(1);
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
        M_Degit& digit = form_.Degit(n);
        const DegitFormatEntry& format = ini.DegitFormat[std::size_t(n - 1)];
        digit.setZeroMode(format.ZeroMode);
        digit.setShift(format.Shift);
        digit.setFillZero(format.FillZero);
        digit.setValue(QStringLiteral(" "));
    }
    PanelAppearance::applyDisplayChoices(form_, ini);
    form_.ChimeiCtl().setSpeed(qint16(ini.ScrollSpeed));
    form_.ChimeiCtl().setScrollStartWait(ini.ScrollInterval);
    ride_.setNightFare(ini.LateNightFare != 0);
    setBacklight(0);
}

void RideRenderer::setBacklight(int backlight) {
    PanelAppearance::applyBacklight(form_, settings_.record, backlight);
}

// As the operating panel's blanking switch: it also takes the announcement group with it.
void RideRenderer::setBlanked(bool blanked) {
    ride_.setBlanked(blanked);
    announcementsEnabled_ = !blanked && tape_.SpeechEnabled();
}

void RideRenderer::announce() {
    if (announcementsEnabled_)
        ride_.tapeNext();
}

void RideRenderer::drawTicket(const Ride::Ticket& ticket) {
    const IniRecord& ini = settings_.record;
    PlgInfo info{};
    if (ini.SeiriPlgFile.isEmpty() || KvRes::KV4_GetPlgInfo(ini.SeiriPlgFile, info) == 0) {
        ticket_ = QImage();
        return;
    }
    ticket_ =
        QImage(qRound(info.PrevWidth / double(Q57Layout::kTwipsPerPixel)),
               qRound(info.PrevHeight / double(Q57Layout::kTwipsPerPixel)), QImage::Format_RGB32);
    ticket_.fill(Qt::white);
    KvRes::KV4_DrawSeiriken(ini.SeiriPlgFile, ticket_, ticket.stopName, ticket.date, ticket.time,
                            ticket.routeNumber, ticket.seiriNum, ticket.row, 0);
}

void RideRenderer::setFrameSink(FrameSink sink, int fps, int scale) {
    sink_ = std::move(sink);
    fps_ = fps;
    scale_ = scale;
    nextFrame_ = (now_ * fps_ + 999) / 1000;
}

void RideRenderer::advance(qint64 milliseconds) {
    const qint64 end = now_ + std::max<qint64>(milliseconds, 0);
    // Only the ride's driver changes the panel, between two calls; within one only the strip
    // moves, so the rest of the first frame is kept and the strip's part of the panel drawn anew.
    bool whole = true;
    while (sink_ && frameTime(nextFrame_) < end) {
        now_ = std::max(now_, frameTime(nextFrame_));
        ChimeiCtl_B& strip = form_.ChimeiCtl();
        strip.scrollTick();
        if (whole) {
            frame_ = renderPanel(form_, scale_);
            whole = false;
        } else {
            form_.render(&frame_, strip.pos(), QRegion(strip.geometry()));
        }
        sink_(frame_);
        ++nextFrame_;
    }
    now_ = end;
}
