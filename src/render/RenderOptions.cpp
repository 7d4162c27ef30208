#include "RenderOptions.h"

#include <cmath>

namespace {

bool positiveInt(const QString& text, int highest, int& value) {
    bool number = false;
    value = text.toInt(&number);
    return number && value >= 1 && value <= highest;
}

} // namespace

QString RenderOptions::usage() {
    return QStringLiteral(
        "usage: q57_render stops SETTINGS ROUTE [--section S] [--scale N] [--ticket]\n"
        "                  [--background COLOUR] --out DIR\n"
        "       q57_render video SETTINGS ROUTE [--section S] [--scale N] [--fps N]\n"
        "                  [--dwell SECONDS] [--script FILE] [--background COLOUR] --out FILE\n");
}

std::variant<RenderOptions, QString> RenderOptions::parse(const QStringList& arguments) {
    RenderOptions options;
    if (arguments.size() < 3)
        return QStringLiteral("a command, a settings file and a route are needed");
    if (arguments[0] == QLatin1String("stops"))
        options.command = Command::Stops;
    else if (arguments[0] == QLatin1String("video"))
        options.command = Command::Video;
    else
        return QStringLiteral("unknown command \"%1\"").arg(arguments[0]);
    options.settingsFile = arguments[1];
    options.route = arguments[2];
    const bool video = options.command == Command::Video;
    for (qsizetype k = 3; k < arguments.size(); ++k) {
        const QString& name = arguments[k];
        if (name == QLatin1String("--ticket") && !video) {
            options.ticket = true;
            continue;
        }
        const bool known =
            name == QLatin1String("--section") || name == QLatin1String("--scale") ||
            name == QLatin1String("--out") || name == QLatin1String("--background") ||
            (video && (name == QLatin1String("--fps") || name == QLatin1String("--dwell") ||
                       name == QLatin1String("--script")));
        if (!known)
            return QStringLiteral("unknown option \"%1\"").arg(name);
        if (++k == arguments.size())
            return QStringLiteral("%1 needs a value").arg(name);
        const QString& value = arguments[k];
        if (name == QLatin1String("--section")) {
            options.section = value;
        } else if (name == QLatin1String("--scale")) {
            if (!positiveInt(value, 8, options.scale))
                return QStringLiteral("--scale takes 1 to 8, not \"%1\"").arg(value);
        } else if (name == QLatin1String("--fps")) {
            if (!positiveInt(value, 120, options.fps))
                return QStringLiteral("--fps takes 1 to 120, not \"%1\"").arg(value);
        } else if (name == QLatin1String("--dwell")) {
            bool number = false;
            const double seconds = value.toDouble(&number);
            if (!number || !std::isfinite(seconds) || seconds < 0 || seconds > 3600)
                return QStringLiteral("--dwell takes 0 to 3600 seconds, not \"%1\"").arg(value);
            options.dwellMs = std::llround(seconds * 1000);
        } else if (name == QLatin1String("--script")) {
            options.scriptFile = value;
        } else if (name == QLatin1String("--background")) {
            options.background = value;
        } else {
            options.out = value;
        }
    }
    if (options.out.isEmpty())
        return QStringLiteral("--out is needed");
    return options;
}
