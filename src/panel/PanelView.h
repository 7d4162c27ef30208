#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>

// How the display panel is shown: at a whole scale (every pixel of the panel a block of
// scale x scale screen pixels), in a window or full screen on a chosen screen over a background
// colour. The settings file has no room for these, so they are kept in a small text file of
// their own beside the speech settings:
//     scale=2
//     fit=0
//     fullscreen=1
//     screen=HDMI-1
//     background=#00FF00
struct PanelView {
    static constexpr int kMinScale = 1, kMaxScale = 4;
    // The keying colours offered beside black, as 0xRRGGBB.
    static constexpr quint32 kBlack = 0x000000, kGreen = 0x00FF00, kBlue = 0x0000FF;

    int scale = 1;
    // The largest scale that fits the panel's screen, in place of scale.
    bool fit = false;
    bool fullScreen = false;
    // The screen's name as the window system gives it; empty: the panel's own screen.
    QString screen;
    quint32 background = kBlack;

    bool operator==(const PanelView&) const = default;

    QByteArray toText() const;
    // The defaults when the text is damaged anywhere, as for the speech settings.
    static PanelView fromText(const QByteArray& text);
    // The defaults, silently, when the file is missing or damaged.
    static PanelView read(const QString& path);
    Result<void> write(const QString& path) const;

    // The largest whole scale at which a panel of that size fits the area, within the scales
    // offered; 1 when even that does not fit.
    static int fitScale(QSize area, QSize panel);
    // Where a picture of that size stands to be centred in the area (halves rounded down).
    static QPoint centred(QSize area, QSize picture);
};
