#include "RideScript.h"

#include <QHash>
#include <QStringList>
#include <cmath>

namespace RideScript {

namespace {

using Kind = Action::Kind;

struct Shape {
    Kind kind;
    int minArguments;
    int maxArguments;
};

const QHash<QString, Shape>& shapes() {
    static const QHash<QString, Shape> known = {
        {QStringLiteral("set"), {Kind::Set, 1, 2}},
        {QStringLiteral("step"), {Kind::Step, 0, 0}},
        {QStringLiteral("back"), {Kind::Back, 0, 0}},
        {QStringLiteral("announce"), {Kind::Announce, 0, 0}},
        {QStringLiteral("night"), {Kind::Night, 1, 1}},
        {QStringLiteral("blank"), {Kind::Blank, 1, 1}},
        {QStringLiteral("backlight"), {Kind::Backlight, 1, 1}},
        {QStringLiteral("wait"), {Kind::Wait, 1, 1}},
    };
    return known;
}

bool isDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// Why the fields cannot be an action, or empty when they are; fills the action.
QString read(const QStringList& fields, Action& action) {
    const QString name = fields[0].toLower();
    const auto shape = shapes().constFind(name);
    if (shape == shapes().constEnd())
        return QStringLiteral("unknown action \"%1\"").arg(fields[0]);
    const int arguments = int(fields.size()) - 1;
    if (arguments < shape->minArguments || arguments > shape->maxArguments)
        return shape->minArguments == shape->maxArguments
                   ? QStringLiteral("%1 takes %2 value(s), not %3")
                         .arg(name)
                         .arg(shape->minArguments)
                         .arg(arguments)
                   : QStringLiteral("%1 takes a route and maybe a section").arg(name);
    action.kind = shape->kind;
    switch (action.kind) {
    case Kind::Set:
        action.route = fields[1];
        action.section = arguments == 2 ? fields[2] : QStringLiteral("1");
        // The digits as typed on the keypad: five for the route, three for the section.
        if (!isDigits(action.route) || action.route.size() > 5)
            return QStringLiteral("the route must be 1 to 5 digits, not \"%1\"").arg(action.route);
        if (!isDigits(action.section) || action.section.size() > 3)
            return QStringLiteral("the section must be 1 to 3 digits, not \"%1\"")
                .arg(action.section);
        return {};
    case Kind::Night:
    case Kind::Blank:
    case Kind::Backlight: {
        const qint64 highest = action.kind == Kind::Backlight ? 2 : 1;
        bool number = false;
        action.value = fields[1].toLongLong(&number);
        if (!number || action.value < 0 || action.value > highest)
            return QStringLiteral("%1 takes 0 to %2, not \"%3\"")
                .arg(name)
                .arg(highest)
                .arg(fields[1]);
        return {};
    }
    case Kind::Wait: {
        bool number = false;
        const double seconds = fields[1].toDouble(&number);
        // A day is more than any ride; the bound keeps the milliseconds exact.
        if (!number || !std::isfinite(seconds) || seconds < 0 || seconds > 86400)
            return QStringLiteral("wait takes seconds from 0 to 86400, not \"%1\"").arg(fields[1]);
        action.value = std::llround(seconds * 1000);
        return {};
    }
    case Kind::Step:
    case Kind::Back:
    case Kind::Announce:
        return {};
    }
    return {};
}

} // namespace

Result<QList<Action>> parse(const QString& text) {
    QList<Action> actions;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        QStringList fields = line.split(QLatin1Char(','));
        for (QString& field : fields)
            field = field.trimmed();
        Action action;
        action.line = n + 1;
        const QString why = read(fields, action);
        if (!why.isEmpty())
            return RuntimeError(RuntimeError::InvalidFileFormat,
                                QStringLiteral("line %1: %2").arg(n + 1).arg(why));
        actions.append(action);
    }
    return actions;
}

} // namespace RideScript
