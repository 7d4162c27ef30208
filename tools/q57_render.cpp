// Pictures of every stop of a route, or a video of a ride with its sounds and announcements,
// drawn and mixed by the program's own code without showing a window.
//   q57_render stops SETTINGS ROUTE [--section S] [--scale N] [--ticket] [--background COLOUR]
//              --out DIR
//   q57_render video SETTINGS ROUTE [--section S] [--scale N] [--fps N] [--dwell SECONDS]
//              [--script FILE] [--background COLOUR] --out FILE

#include "platform/FileBytes.h"
#include "platform/JapaneseFonts.h"
#include "render/RenderOptions.h"
#include "render/RideRenderer.h"
#include "render/RideScript.h"
#include "render/VideoWriter.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <optional>

namespace {

void say(const QString& text) {
    std::fputs(qPrintable(text), stderr);
    std::fputc('\n', stderr);
}

QString errorText(const RuntimeError& error) {
    return error.description().isEmpty() ? QStringLiteral("error %1").arg(error.number())
                                         : error.description();
}

// The program's own message box text, and its lines under it.
bool setRoute(RideRenderer& renderer, const QString& route, const QString& section) {
    const std::optional<Ride::Refusal> refused = renderer.ride().setRoute(route, section);
    if (!refused)
        return true;
    say(refused->message);
    if (!refused->detail.isEmpty())
        say(refused->detail);
    return false;
}

// The --background colour (black when none is given), or none when it names no colour.
std::optional<QColor> backgroundColour(const RenderOptions& options) {
    const QColor colour(options.background.isEmpty() ? QStringLiteral("black")
                                                     : options.background);
    if (colour.isValid())
        return colour;
    say(QStringLiteral("--background: \"%1\" is not a colour").arg(options.background));
    return std::nullopt;
}

int renderStops(const RenderOptions& options, const IniRecord& settings) {
    const std::optional<QColor> background = backgroundColour(options);
    if (!background)
        return 1;
    RideRenderer renderer(settings, std::nullopt);
    if (!setRoute(renderer, options.route, options.section))
        return 1;
    if (!QDir().mkpath(options.out)) {
        say(QStringLiteral("%1: the folder cannot be made").arg(options.out));
        return 1;
    }
    const QDir out(options.out);
    DataIo& data = renderer.ride().data();
    for (int picture = 1;; ++picture) {
        const QString name = QStringLiteral("%1").arg(picture, 3, 10, QLatin1Char('0'));
        QImage stop = renderPanel(renderer.form(), options.scale);
        if (!options.background.isEmpty()) {
            const QImage panel = stop;
            drawOnBackground(stop, panel, renderer.form().mask(), *background);
        }
        if (!stop.save(out.filePath(name + ".png"))) {
            say(QStringLiteral("%1: cannot be written").arg(out.filePath(name + ".png")));
            return 1;
        }
        if (options.ticket && !renderer.ticket().isNull())
            renderer.ticket()
                .scaled(renderer.ticket().size() * options.scale, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation)
                .save(out.filePath(name + "-ticket.png"));
        if (data.CurStop >= data.StopCount - 1)
            return 0;
        renderer.ride().step(Ride::Direction::Forward);
    }
}

// One line on stderr, drawn over again: how far the ride is and how fast it renders.
class Progress {
public:
    explicit Progress(const RideClock& clock) : clock_(clock) { wall_.start(); }
    void show(int done, int total, const QString& unit) {
        const qint64 rendered = clock_.now();
        const int width = 24;
        const int filled = total > 0 ? width * done / total : width;
        const double speed = double(rendered) / double(std::max<qint64>(wall_.elapsed(), 1));
        std::fprintf(stderr, "\r[%s%s] %s %d/%d  %lld:%02lld rendered  %.1fx real time",
                     QByteArray(filled, '#').constData(),
                     QByteArray(width - filled, '.').constData(), qPrintable(unit), done, total,
                     rendered / 60000, rendered / 1000 % 60, speed);
        std::fflush(stderr);
    }
    void end() { std::fputc('\n', stderr); }

private:
    const RideClock& clock_;
    QElapsedTimer wall_;
};

// The ride as a driver runs it: the route set, then stop by stop, announcing where the route
// has announcements and the operating panel lets them be played, each stop held for the dwell
// or until what was said has ended.
bool rideStraight(RideRenderer& renderer, const RenderOptions& options) {
    if (!setRoute(renderer, options.route, options.section))
        return false;
    Ride& ride = renderer.ride();
    mdlM_Tape& tape = renderer.tape();
    Progress progress(renderer);
    auto dwell = [&] {
        renderer.advance(std::max(options.dwellMs, renderer.audio().soundEnd() - renderer.now()));
        progress.show(ride.data().CurStop + 1, ride.data().StopCount, QStringLiteral("stop"));
    };
    dwell();
    while (renderer.announcementsEnabled() && tape.GetTapeIndex() < tape.GetTapeCount()) {
        renderer.announce();
        dwell();
    }
    while (ride.data().CurStop < ride.data().StopCount - 1) {
        ride.step(Ride::Direction::Forward);
        dwell();
    }
    progress.end();
    return true;
}

bool rideScript(RideRenderer& renderer, const QList<RideScript::Action>& script) {
    using Kind = RideScript::Action::Kind;
    Ride& ride = renderer.ride();
    Progress progress(renderer);
    int done = 0;
    for (const RideScript::Action& action : script) {
        switch (action.kind) {
        case Kind::Set:
            if (!setRoute(renderer, action.route, action.section))
                return false;
            break;
        // What the operating panel would not let a driver do is not done.
        case Kind::Step:
        case Kind::Back:
            if (ride.canStep())
                ride.step(action.kind == Kind::Step ? Ride::Direction::Forward
                                                    : Ride::Direction::Back);
            break;
        case Kind::Announce:
            renderer.announce();
            break;
        case Kind::Night:
            ride.setNightFare(action.value != 0);
            break;
        case Kind::Blank:
            if (ride.routeSet())
                renderer.setBlanked(action.value != 0);
            break;
        case Kind::Backlight:
            renderer.setBacklight(int(action.value));
            break;
        case Kind::Wait:
            renderer.advance(action.value);
            break;
        }
        progress.show(++done, int(script.size()), QStringLiteral("line"));
    }
    progress.end();
    return true;
}

int renderVideo(const RenderOptions& options, const IniRecord& settings) {
    const std::optional<QColor> background = backgroundColour(options);
    if (!background)
        return 1;
    std::optional<QList<RideScript::Action>> script;
    if (!options.scriptFile.isEmpty()) {
        const Result<QByteArray> bytes = FileBytes::read(options.scriptFile, 1024 * 1024);
        if (!bytes) {
            say(QStringLiteral("%1: %2").arg(options.scriptFile, errorText(bytes.error())));
            return 1;
        }
        Result<QList<RideScript::Action>> parsed =
            RideScript::parse(QString::fromUtf8(bytes.value()));
        if (!parsed) {
            say(QStringLiteral("%1: %2").arg(options.scriptFile, errorText(parsed.error())));
            return 1;
        }
        script = std::move(parsed).value();
    }

    RideRenderer renderer(settings, JTalkSpeech::Config());
    const QSize panel = renderer.form().size() * options.scale;
    // Encoders take even sizes only; the odd line is the background's.
    const QSize frameSize((panel.width() + 1) / 2 * 2, (panel.height() + 1) / 2 * 2);
    Result<std::unique_ptr<VideoWriter>> opened =
        VideoWriter::open({options.out, frameSize, options.fps}, renderer.audio());
    if (!opened) {
        say(QStringLiteral("%1: %2").arg(options.out, errorText(opened.error())));
        return 1;
    }
    std::unique_ptr<VideoWriter> writer = std::move(opened).value();
    std::optional<RuntimeError> failed;
    QImage frame(frameSize, QImage::Format_RGB32);
    renderer.setFrameSink(
        [&](const QImage& picture) {
            if (failed)
                return;
            drawOnBackground(frame, picture, renderer.form().mask(), *background);
            const Result<void> added = writer->addFrame(frame.constBits(), frame.bytesPerLine());
            if (!added)
                failed = added.error();
        },
        options.fps, options.scale);

    if (!(script ? rideScript(renderer, *script) : rideStraight(renderer, options)))
        return 1;
    const Result<void> finished = failed ? Result<void>(*failed) : writer->finish();
    if (!finished) {
        say(QStringLiteral("%1: %2").arg(options.out, errorText(finished.error())));
        return 1;
    }
    if (!renderer.audio().warnings().isEmpty())
        say(renderer.audio().warnings());
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // It shows no window: it draws offscreen wherever it runs.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::variant<RenderOptions, QString> parsed =
        RenderOptions::parse(QCoreApplication::arguments().mid(1));
    if (const QString* why = std::get_if<QString>(&parsed)) {
        say(QStringLiteral("q57_render: ") + *why);
        std::fputs(qPrintable(RenderOptions::usage()), stderr);
        return 1;
    }
    const RenderOptions& options = std::get<RenderOptions>(parsed);
    const Result<IniRecord> settings = RideRenderer::readSettings(options.settingsFile);
    if (!settings) {
        say(QStringLiteral("%1: the settings cannot be read (%2)")
                .arg(options.settingsFile, errorText(settings.error())));
        return 1;
    }
    JapaneseFonts::registerSubstitutions();
    return options.command == RenderOptions::Command::Stops
               ? renderStops(options, settings.value())
               : renderVideo(options, settings.value());
}
