#pragma once

#include "announce/SpeechObject.h"
#include "announce/mdlSndAPI.h"
#include "settings/IniData.h"
#include "settings/SettingsSource.h"

#include <QList>
#include <QString>
#include <QStringList>

// Stand-ins for the seams a rule talks through. Each keeps what it was asked, in order, so a rule
// is tested in milliseconds with no sound, speech or window.
namespace TestSupport {

class FakeSounds : public mdlSndAPI::Sounds {
public:
    struct Played {
        QString file;
        mdlSndAPI::Alias alias;
        bool wait;
        qint16 pauseMs;
        bool operator==(const Played&) const = default;
    };

    void PlaySoundFile(const QString& file, mdlSndAPI::Alias alias, bool wait,
                       qint16 pauseMs) override {
        played.append({file, alias, wait, pauseMs});
    }
    void CloseSoundAliases() override { ++closed; }

    QList<Played> played;
    int closed = 0;
};

// What a fake speech object was told, kept by the test: the object itself belongs to whoever
// made it through a factory.
struct SpeechLog {
    // "speak TEXT", "stop", "adjust TITLE", "ahead N" (the count of texts).
    QStringList calls;
    // As the engine gives it: 1 speaking, -1 after a Speak of blanks, 0 after a Stop.
    qint32 status = 0;
};

class FakeSpeech : public SpeechObject {
public:
    explicit FakeSpeech(SpeechLog& log) : log_(log) {}

    void Speak(const QString& text) override {
        log_.calls.append(QStringLiteral("speak ") + text);
        log_.status = text.trimmed().isEmpty() ? -1 : 1;
    }
    void Stop() override {
        log_.calls.append(QStringLiteral("stop"));
        log_.status = 0;
    }
    qint32 Status() const override { return log_.status; }
    void Adjust(const QString& title) override {
        log_.calls.append(QStringLiteral("adjust ") + title);
    }
    void RenderAhead(const QStringList& texts) override {
        log_.calls.append(QStringLiteral("ahead ") + QString::number(texts.size()));
    }

private:
    SpeechLog& log_;
};

// Settings that are whatever the test puts into the record.
class FakeSettings : public SettingsSource {
public:
    const IniRecord& currentSettings() const override { return record; }

    IniRecord record;
};

} // namespace TestSupport
