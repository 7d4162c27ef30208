#include "ProgramRig.h"

#include "TestSupport.h"
#include "announce/JTalkSpeech.h"
#include "app/frmCtl.h"
#include "options/frmOption.h"
#include "platform/SafeSave.h"

#include <QTest>

ProgramRig::ProgramRig(bool speaking)
    : program(capture.sinks(),
              [this, speaking]() -> std::unique_ptr<SpeechObject> {
                  JTalkSpeech::Config config;
                  config.settingsFile = folder.filePath(QStringLiteral("speech.ini"));
                  config.cacheFolder = folder.filePath(QStringLiteral("cache"));
                  auto made =
                      speaking
                          ? JTalkSpeech::create(config, capture.sinks(QStringLiteral("speech")))
                          : nullptr;
                  speech = made.get();
                  return made;
              }),
      ctl(program.operatingPanel()) {
    program.start();
    ctl.setLampTestMilliseconds(0);
    settings([this](IniRecord& s) { s.FareDataDir = s.TapeDataDir = folder.path(); });
}

void ProgramRig::settings(const std::function<void(IniRecord&)>& change) {
    TestSupport::changeSettings(program.options(), change);
}

void ProgramRig::write(const QString& name, const QByteArray& bytes) {
    QVERIFY(SafeSave::write(folder.filePath(name), bytes));
}

void ProgramRig::click(const QString& name) {
    TestSupport::click(ctl, name);
}

QString ProgramRig::setRoute(const QString& route, const QString& section) {
    return TestSupport::setRoute(ctl, route, section);
}
