// Shows sample route 12 at stop 9 with the ticket preview open, printed with the sample bar-code
// plug-in, and saves two screenshots of it:
//   screenshot_preview <data folder> <folder>
// route-12.png: both windows as a first start places them, the display panel at the top left and
// the operating panel under it; ticket-preview.png: the operating panel alone.
// The pictures in docs/ are made with it under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/screenshot_preview data docs
#include "Q57App.h"
#include "announce/JTalkSpeech.h"
#include "app/RouteSetting.h"
#include "app/frmCtl.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/JapaneseFonts.h"
#include "settings/mdlIniIo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

// The part of the screen within outer, saved as folder/name.
bool saveShot(QScreen& screen, const QRect& outer, const QDir& folder, const char* name) {
    const QPixmap shot = screen.grabWindow(0, outer.x(), outer.y(), outer.width(), outer.height());
    const QString path = folder.filePath(QLatin1String(name));
    if (shot.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot_preview <data folder> <folder>\n");
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[1]));
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    JapaneseFonts::registerSubstitutions();
    // Nobody's own settings: the designed defaults, then what the pictures need.
    const QTemporaryDir settingsFolder;
    mdlIniIo::setIniFileName(settingsFolder.filePath(QStringLiteral("Q57.in4")));
    // Speech renders into a cache of the pictures' own, not the user's.
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
    // One day's date, written as the system date would print, so that a picture made again
    // differs only where the program does.
    settings.DateUpdateOnPrint = 0;
    settings.DateKeepAtRouteSet = 0;
    settings.DateFixed = -1;
    settings.FixedDate = RouteSetting::ticketDate(QDate(2026, 12, 7));
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

    // Both windows: where the first-start settings put them.
    Form1& form = program.form();
    form.move(0, 0);
    ctl.move(0, form.frameGeometry().bottom() + 1 + 8);
    if (!QTest::qWaitForWindowExposed(&form) || !QTest::qWaitForWindowExposed(&ctl))
        return 1;
    QTest::qWait(300);
    if (!saveShot(*ctl.screen(), form.frameGeometry().united(ctl.frameGeometry()), folder,
                  "route-12.png"))
        return 1;

    // The operating panel alone.
    form.hide();
    ctl.move(20, 20);
    QTest::qWait(300);
    return saveShot(*ctl.screen(), ctl.frameGeometry(), folder, "ticket-preview.png") ? 0 : 1;
}
