// Checks a ticket plug-in (.4SP) and draws its ticket, for plug-in authors.
//
//   q57_plugin PLUGIN.4SP                        list every problem with its line
//   q57_plugin PLUGIN.4SP TICKET.png [NAME=VALUE ...]
//                                                check, then draw the ticket into a PNG
//
// Values for the drawing: stop=, date=, time=, route=, number= (the ticket number), row= (the
// record number), company= (variant index, -1 for none), scale= (1 to 8 pixels per preview
// pixel). Exit status: 0 all well, 1 problems found or nothing written, 2 bad usage.

#include "platform/FileBytes.h"
#include "platform/JapaneseFonts.h"
#include "platform/SafeSave.h"
#include "ticket/TicketDrawing.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Twips per preview pixel, as the operating panel sizes its preview.
constexpr int kTwipsPerPixel = 15;

const char kUsage[] = "usage: q57_plugin PLUGIN.4SP [TICKET.png [NAME=VALUE ...]]\n"
                      "  names: stop date time route number row company scale\n";

void print(std::FILE* to, const QString& text) {
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
}

struct Drawing {
    TicketValues values{QStringLiteral("中央病院前"),
                        QStringLiteral("2026/04/01"),
                        QStringLiteral("08:15:00"),
                        12,
                        7,
                        7,
                        0};
    int scale = 1;
};

// NAME=VALUE into the drawing's values; false (with a message) for anything else.
bool setValue(Drawing& drawing, const QString& argument) {
    const qsizetype equals = argument.indexOf(u'=');
    const QString name = argument.left(equals);
    const QString value = argument.mid(equals + 1);
    TicketValues& v = drawing.values;
    if (equals > 0 && name == u"stop")
        v.stopName = value;
    else if (equals > 0 && name == u"date")
        v.dateText = value;
    else if (equals > 0 && name == u"time")
        v.timeText = value;
    else {
        bool ok = false;
        const int number = value.toInt(&ok);
        const struct {
            const char* name;
            int low;
            int high;
            std::function<void(int)> set;
        } numbers[] = {
            {"route", 0, 2147483647, [&](int n) { v.routeNo = n; }},
            {"number", -32768, 32767, [&](int n) { v.seiriNum = qint16(n); }},
            {"row", 1, 301, [&](int n) { v.row = qint16(n); }},
            {"company", -1, 32767, [&](int n) { v.company = qint16(n); }},
            {"scale", 1, 8, [&](int n) { drawing.scale = n; }},
        };
        for (const auto& entry : numbers) {
            if (equals <= 0 || name != QLatin1String(entry.name))
                continue;
            if (!ok || number < entry.low || number > entry.high) {
                print(stderr, QStringLiteral("q57_plugin: %1 must be a number from %2 to %3")
                                  .arg(name)
                                  .arg(entry.low)
                                  .arg(entry.high));
                return false;
            }
            entry.set(number);
            return true;
        }
        print(
            stderr,
            QStringLiteral("q57_plugin: \"%1\" is not NAME=VALUE with a known name").arg(argument));
        return false;
    }
    return true;
}

int draw(const QString& pluginPath, const TicketPlugin& plugin, const Drawing& drawing,
         const QString& pngPath) {
    const QSize size(plugin.info.PrevWidth / kTwipsPerPixel * drawing.scale,
                     plugin.info.PrevHeight / kTwipsPerPixel * drawing.scale);
    if (size.isEmpty()) {
        print(stderr, QStringLiteral("q57_plugin: %1: the preview size is zero, nothing to draw")
                          .arg(pluginPath));
        return 1;
    }
    QImage image(size, QImage::Format_RGB32);
    drawTicket(plugin, drawing.values, image);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    if (const Result<void> saved = SafeSave::write(pngPath, png); !saved) {
        print(stderr, QStringLiteral("q57_plugin: %1: not written (error %2, %3)")
                          .arg(pngPath)
                          .arg(saved.error().number())
                          .arg(saved.error().description()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Drawing needs fonts but no screen.
    std::vector<char*> qtArgv{argv[0]};
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    qtArgv.push_back(platformOption);
    qtArgv.push_back(offscreen);
    int qtArgc = int(qtArgv.size());
    QGuiApplication app(qtArgc, qtArgv.data());
    JapaneseFonts::registerSubstitutions();

    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    Drawing drawing;
    for (int i = 3; i < argc; ++i)
        if (!setValue(drawing, QString::fromLocal8Bit(argv[i])))
            return 2;

    const Result<QByteArray> bytes = FileBytes::read(path);
    if (!bytes) {
        print(stderr, QStringLiteral("%1: error %2, %3")
                          .arg(path)
                          .arg(bytes.error().number())
                          .arg(bytes.error().description()));
        return 1;
    }
    const QList<TicketPluginProblem> problems = checkTicketPlugin(bytes.value());
    for (const TicketPluginProblem& problem : problems)
        print(stdout, QStringLiteral("%1:%2: %3").arg(path).arg(problem.line).arg(problem.what));
    if (!problems.isEmpty())
        return 1;
    if (argc < 3)
        return 0;
    return draw(path, parseTicketPlugin(bytes.value()).value(), drawing,
                QString::fromLocal8Bit(argv[2]));
}
