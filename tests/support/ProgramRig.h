#pragma once

#include "Q57App.h"
#include "SoundCapture.h"

#include <QTemporaryDir>
#include <functional>

class JTalkSpeech;
class frmCtl;
struct IniRecord;

// The whole program for a window test: its sounds into a capture, its route and announcement
// files in a folder of the test's own, no wait in the lamp test; speech only when asked for,
// with its settings and cache in that folder too.
struct ProgramRig {
    explicit ProgramRig(bool speaking = false);

    QTemporaryDir folder;
    SoundCapture capture;
    JTalkSpeech* speech = nullptr;
    Q57App program;
    frmCtl& ctl;

    // Changed the way loading a settings file changes them.
    void settings(const std::function<void(IniRecord&)>& change);
    void write(const QString& name, const QByteArray& bytes);
    void click(const QString& name);
    // The message the route setting showed, empty when it was set.
    QString setRoute(const QString& route, const QString& section = QStringLiteral("1"));
};
