// Rides route 57 imported from the sample feed to its third stop, announcing each stop with
// "送り", and saves a screenshot of both windows:
//   screenshot_gtfs <folder with 57.hy3 and 57tp.csv> <picture>
// The README's picture is made under Xvfb:
//   build/gtfs2hy3 data/gtfs-sample --route 21000-0 --number 57 --out /tmp/q57-routes
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/screenshot_gtfs /tmp/q57-routes docs/route-57.png
#include "Q57App.h"
#include "announce/JTalkSpeech.h"
#include "app/frmCtl.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/JapaneseFonts.h"
#include "settings/mdlIniIo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot_gtfs <routes folder> <picture>\n");
        return 2;
    }
    JapaneseFonts::registerSubstitutions();
    // Nobody's own settings, and a speech cache of the picture's own.
    const QTemporaryDir scratch;
    mdlIniIo::setIniFileName(scratch.filePath(QStringLiteral("Q57.in4")));
    Q57App program({}, [&scratch] {
        JTalkSpeech::Config config;
        config.cacheFolder = scratch.filePath(QStringLiteral("cache"));
        config.settingsFile = scratch.filePath(QStringLiteral("speech.ini"));
        return std::unique_ptr<SpeechObject>(JTalkSpeech::create(config));
    });
    program.start();
    IniRecord settings = program.options().currentSettings();
    settings.FareDataDir = settings.TapeDataDir =
        QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    program.options().SetOptionInfo(settings);

    frmCtl& ctl = program.operatingPanel();
    ctl.setLampTestMilliseconds(0);
    const auto click = [&ctl](const QString& name) {
        ctl.findChild<QAbstractButton*>(name)->click();
    };
    for (const char* key : {"10", "5", "7", "11", "1"})
        click(QStringLiteral("CommandButton1(%1)").arg(QLatin1String(key)));
    click(QStringLiteral("Command1(1)"));
    for (int press = 0; press < 3; ++press) {
        click(QStringLiteral("cmdTapeNext"));
        QTest::qWait(200);
    }
    Form1& form = program.form();
    form.move(0, 0);
    ctl.move(0, form.frameGeometry().bottom() + 1 + 8);
    if (!QTest::qWaitForWindowExposed(&form) || !QTest::qWaitForWindowExposed(&ctl))
        return 1;
    QTest::qWait(500);
    const QRect outer = form.frameGeometry().united(ctl.frameGeometry());
    const QPixmap shot =
        ctl.screen()->grabWindow(0, outer.x(), outer.y(), outer.width(), outer.height());
    if (shot.save(QString::fromLocal8Bit(argv[2])))
        return 0;
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
}
