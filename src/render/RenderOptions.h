#pragma once

#include <QString>
#include <QStringList>
#include <variant>

// The command line of the ride renderer:
//   stops SETTINGS ROUTE [--section S] [--scale N] [--ticket] [--background COLOUR] --out DIR
//   video SETTINGS ROUTE [--section S] [--scale N] [--fps N] [--dwell SECONDS] [--script FILE]
//         [--background COLOUR] --out FILE
struct RenderOptions {
    enum class Command { Stops, Video };
    Command command = Command::Stops;
    QString settingsFile;
    QString route;
    QString section = QStringLiteral("1");
    int scale = 1;
    bool ticket = false;
    QString out;
    int fps = 30;
    qint64 dwellMs = 8000;
    QString scriptFile;
    // Around the panel when the frame is larger (an even frame size for the encoder) and behind
    // its cut corners: a colour name or #RRGGBB, checked where colours are known. Empty: black
    // in a video; a stop picture then keeps the corners as the panel's own grab shows them.
    QString background;

    // The options, or the reason they are not (to print above the usage).
    static std::variant<RenderOptions, QString> parse(const QStringList& arguments);
    static QString usage();
};
