// Writes the settings a newcomer's first start uses: the windows' defaults, plus our sample
// sounds on every sound event and the sample announcements. Run by the build; a settings file
// already there (the user's own) is never touched. The install names the installed samples,
// which need not exist yet when this runs, and the installed routes as the fare data folder
// (left empty, the program reads routes from the folder it was started in).
//   make_sample_settings DATA_FOLDER SETTINGS_FILE [FARE_DATA_FOLDER]

#include "platform/RuntimeError.h"
#include "platform/SafeSave.h"
#include "settings/DefaultSettings.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char* argv[]) {
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

    IniRecord settings = DefaultSettings::record();
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
    // The preview (open) shows a sample ticket as soon as a route is set.
    settings.UseSeiriPrev = 1;
    settings.SeiriPlgFile = data.absoluteFilePath(QStringLiteral("plugins/hoshizora-barcode.4SP"));
    settings.PreviewOpen = 1;
    // Both windows where any screen shows them: the panel at the top left, the operating panel
    // under it with the route lists in front.
    settings.CtlLeft = 0;
    settings.CtlTop = 340 * 15;
    settings.CtlViewMode = 1;

    try {
        QDir().mkpath(QFileInfo(settingsFile).absolutePath());
        SafeSave::write(settingsFile, IniFile::encode(settings).valueOrThrow()).valueOrThrow();
    } catch (const RuntimeError& error) {
        std::fprintf(stderr, "make_sample_settings: %s was not written: %s\n", argv[2],
                     qPrintable(error.description()));
        return 1;
    }
    return 0;
}
