// Writes the settings a newcomer's first start uses: the windows' defaults, plus our sample
// sounds on every sound event and the sample announcements. Run by the build; a settings file
// already there (the user's own) is never touched. The install names the installed samples,
// which need not exist yet when this runs, and the installed routes as the fare data folder
// (left empty, the program reads routes from the folder it was started in).
//   make_sample_settings DATA_FOLDER SETTINGS_FILE [FARE_DATA_FOLDER]

#include "Q57App.h"
#include "app/frmCtl.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/JapaneseFonts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

// The windows are made on the offscreen platform, which says that it ignores raising them, their
// shapes and their size hints; none of that touches the settings, and a build or a package that
// prints it seems to have failed.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: make_sample_settings DATA_FOLDER SETTINGS_FILE [FARE_DATA_FOLDER]\n");
        return 2;
    }
    const QString settingsFile = QString::fromLocal8Bit(argv[2]);
    if (QFileInfo::exists(settingsFile))
        return 0;
    const QDir data(QString::fromLocal8Bit(argv[1]));
    const QDir sounds(data.absoluteFilePath(QStringLiteral("sounds")));
    auto sound = [&sounds](const char* name) { return sounds.filePath(QLatin1String(name)); };

    JapaneseFonts::registerSubstitutions();
    mdlIniIo::setIniFileName(settingsFile);
    // Without speech: the settings need none, and the user's speech cache is left alone.
    Q57App program({}, [] { return nullptr; });
    program.start();
    IniRecord settings = program.options().currentSettings();
    settings.SoundRouteSet = sound("route_set.wav");
    settings.SoundReset = sound("key_click.wav");
    // The sample routes mark in fare column 62 which chime a stop gets.
    settings.StepSoundAlways = 0;
    settings.StepSoundByColumn = -1;
    settings.StepSoundColumn = 61;
    settings.StepSoundFile = sound("step1.wav");
    settings.StepSoundFile1 = sound("step1.wav");
    settings.StepSoundFile2 = sound("step2.wav");
    settings.StepSoundFile3 = sound("step3.wav");
    // The sample routes' announcements ask for their chimes by flag: two tones before each
    // stop, four at the start, the chord at the end.
    settings.TapeDataDir = data.absoluteFilePath(QStringLiteral("routes"));
    if (argc == 4)
        settings.FareDataDir = QString::fromLocal8Bit(argv[3]);
    settings.PreSoundAlways = 0;
    settings.PreSoundByFlag = -1;
    settings.PreSoundFile = sound("two_tone.mp3");
    settings.PreSoundFile1 = sound("two_tone.mp3");
    settings.PreSoundFile2 = sound("four_tone.mid");
    settings.PreSoundFile3 = sound("step3.wav");
    // The preview (opened below) shows a sample ticket as soon as a route is set.
    settings.UseSeiriPrev = 1;
    settings.SeiriPlgFile = data.absoluteFilePath(QStringLiteral("plugins/hoshizora-barcode.4SP"));
    program.options().SetOptionInfo(settings);
    // Both windows where any screen shows them: the panel at the top left, the operating panel
    // under it with the route lists in front.
    IniRecord windows;
    program.operatingPanel().GetCtrlDataInfo(windows);
    windows.CtlLeft = 0;
    windows.CtlTop = 340 * 15;
    windows.CtlViewMode = 1;
    windows.PreviewOpen = 1;
    program.operatingPanel().SetCtrlDataInfo(windows);
    program.form().move(0, 0);
    program.SaveIni();
    if (!QFileInfo::exists(settingsFile)) {
        std::fprintf(stderr, "make_sample_settings: %s was not written\n", argv[2]);
        return 1;
    }
    return 0;
}
