// Shows the operating panel with the ticket preview open on sample route 12 at stop 9, printed
// with the sample bar-code plug-in, and saves a screenshot of it:
//   screenshot_preview <data folder> <folder>
// The picture in docs/ is made with it under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/screenshot_preview data docs
#include "Q57App.h"
#include "announce/JTalkSpeech.h"
#include "app/frmCtl.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/JapaneseFonts.h"
#include "settings/mdlIniIo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot_preview <data folder> <folder>\n");
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[1]));
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    JapaneseFonts::registerSubstitutions();
    // Nobody's own settings: the designed defaults, then what the picture needs.
    const QTemporaryDir settingsFolder;
    mdlIniIo::setIniFileName(settingsFolder.filePath(QStringLiteral("Q57.in4")));
    // Speech renders into a cache of the picture's own, not the user's.
    const QTemporaryDir speechCache;
    Q57App program({}, [&speechCache] {
        JTalkSpeech::Config config;
        config.cacheFolder = speechCache.path();
        config.settingsFile = speechCache.filePath(QStringLiteral("speech.ini"));
        return std::unique_ptr<SpeechObject>(JTalkSpeech::create(config));
    });
    program.start();
    IniRecord settings = program.options().currentSettings();
    settings.FareDataDir = data.absoluteFilePath(QStringLiteral("routes"));
    settings.TapeDataDir = settings.FareDataDir;
    settings.UseSeiriPrev = 1;
    settings.SeiriPlgFile = data.absoluteFilePath(QStringLiteral("plugins/hoshizora-barcode.4SP"));
    program.options().SetOptionInfo(settings);

    frmCtl& ctl = program.operatingPanel();
    ctl.setLampTestMilliseconds(0);
    ctl.Combo1().setCurrentIndex(1);
    const auto click = [&ctl](const QString& name) {
        ctl.findChild<QAbstractButton*>(name)->click();
    };
    for (const char* key : {"10", "1", "2", "11", "1"})
        click(QStringLiteral("CommandButton1(%1)").arg(QLatin1String(key)));
    click(QStringLiteral("Command1(1)"));
    for (int step = 1; step < 9; ++step)
        click(QStringLiteral("Command2(1)"));
    click(QStringLiteral("Check4"));
    // The picture is of the operating panel alone.
    program.form().hide();
    ctl.move(20, 20);
    if (!QTest::qWaitForWindowExposed(&ctl))
        return 1;
    QTest::qWait(300);
    const QRect outer = ctl.frameGeometry();
    const QPixmap shot =
        ctl.screen()->grabWindow(0, outer.x(), outer.y(), outer.width(), outer.height());
    const QString path = folder.filePath(QStringLiteral("ticket-preview.png"));
    if (!shot.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
