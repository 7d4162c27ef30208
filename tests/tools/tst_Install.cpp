// The installed program: what `cmake --install` and the Debian package put where, first-start
// settings that name the installed samples, and desktop files that pass their validators.

#include "platform/FileBytes.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kId = QStringLiteral("jp.velmora.Q57");

struct Run {
    int exitCode;
    QString output;
};

Run run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(240000);
    const QString output = QString::fromUtf8(process.readAll());
    if (!finished || process.exitStatus() != QProcess::NormalExit)
        return {-1, output};
    return {process.exitCode(), output};
}

IniRecord settingsIn(const QString& file) {
    return IniFile::decode(FileBytes::read(file).valueOrThrow()).valueOrThrow();
}

QString entryCommand(const QString& desktopFile) {
    return QSettings(desktopFile, QSettings::IniFormat)
        .value(QStringLiteral("Desktop Entry/Exec"))
        .toString();
}

} // namespace

class tst_Install : public QObject {
    Q_OBJECT
private slots:
    void installsIntoAnyPrefix() {
        QTemporaryDir dir;
        // Not the build's own prefix: the settings must follow the one given at install time.
        const QDir root(dir.filePath(QStringLiteral("usr")));
        const Run install =
            run(QStringLiteral(CMAKE), {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                                        QStringLiteral("--prefix"), root.path()});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
        const QString desktop =
            root.filePath(QStringLiteral("share/applications/%1.desktop").arg(kId));
        const QString metainfo =
            root.filePath(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId));
        for (const QString& file :
             {QStringLiteral("bin/hy3csv"), QStringLiteral("bin/gtfs2hy3"),
              QStringLiteral("bin/q57_plugin"), QStringLiteral("share/q57/routes/7.hy3"),
              QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kId),
              QStringLiteral("share/doc/q57/README.md"),
              QStringLiteral("share/doc/q57/docs/ticket-plugins.md")})
            QVERIFY2(QFileInfo::exists(root.filePath(file)), qPrintable(file));
        QCOMPARE(QImage(root.filePath(
                            QStringLiteral("share/icons/hicolor/128x128/apps/%1.png").arg(kId)))
                     .size(),
                 QSize(128, 128));
        // What the desktop entry starts, by its full path, and shows is installed under those
        // names.
        QCOMPARE(entryCommand(desktop), root.filePath(QStringLiteral("bin/Q57")));
        QVERIFY(QFileInfo(entryCommand(desktop)).isExecutable());
        QCOMPARE(QSettings(desktop, QSettings::IniFormat)
                     .value(QStringLiteral("Desktop Entry/Icon"))
                     .toString(),
                 kId);

        const QString data = root.filePath(QStringLiteral("share/q57"));
        const IniRecord settings = settingsIn(data + QStringLiteral("/Q57.in4"));
        QCOMPARE(settings.FareDataDir, data + QStringLiteral("/routes"));
        QCOMPARE(settings.TapeDataDir, data + QStringLiteral("/routes"));
        for (const QString& file :
             {settings.SeiriPlgFile, settings.SoundRouteSet, settings.SoundReset,
              settings.StepSoundFile1, settings.StepSoundFile2, settings.StepSoundFile3,
              settings.PreSoundFile1, settings.PreSoundFile2, settings.PreSoundFile3})
            QVERIFY2(file.startsWith(data) && QFileInfo(file).isFile(), qPrintable(file));

        const Run entryCheck = run(QStringLiteral("desktop-file-validate"), {desktop});
        QVERIFY2(entryCheck.exitCode == 0 && entryCheck.output.isEmpty(),
                 qPrintable(entryCheck.output));
        const Run appstream =
            run(QStringLiteral("appstreamcli"),
                {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
        QVERIFY2(appstream.exitCode == 0, qPrintable(appstream.output));
    }

    void packagesForDebian() {
        QTemporaryDir dir;
        const Run cpack =
            run(QStringLiteral(CPACK),
                {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), dir.path(),
                 QStringLiteral("--config"), QStringLiteral(BUILD_DIR "/CPackConfig.cmake")});
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
        // Quiet on success: the offscreen windows' notices would read like failures.
        QVERIFY2(!cpack.output.contains(QLatin1String("This plugin does not support")),
                 qPrintable(cpack.output));
        const QStringList debs = QDir(dir.path()).entryList({QStringLiteral("*.deb")});
        QCOMPARE(debs.size(), 1);
        const QString deb = dir.filePath(debs.first());
        auto dpkgDeb = [&deb](const QString& option, const QString& argument = {}) {
            QStringList arguments{option, deb};
            if (!argument.isEmpty())
                arguments << argument;
            return run(QStringLiteral("dpkg-deb"), arguments).output;
        };

        const QString depends = dpkgDeb(QStringLiteral("-f"), QStringLiteral("Depends"));
        for (const char* package :
             {"libqt6widgets6", "libqt6gui6", "libgstreamer1.0-0", "gstreamer1.0-plugins-good",
              "gstreamer1.0-plugins-bad", "timgm6mb-soundfont", "fonts-ipafont-gothic", "libicu72",
              "libc6"})
            QVERIFY2(depends.contains(QLatin1String(package)), qPrintable(depends));
        // One version: the package's is the one the AppStream release names.
        QFile metainfo(QStringLiteral(BUILD_DIR "/%1.metainfo.xml").arg(kId));
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        const QRegularExpressionMatch release =
            QRegularExpression(QStringLiteral("<release version=\"([^\"]+)\""))
                .match(QString::fromUtf8(metainfo.readAll()));
        QVERIFY(release.hasMatch());
        QCOMPARE(dpkgDeb(QStringLiteral("-f"), QStringLiteral("Version")).trimmed(),
                 release.captured(1));
        QCOMPARE(dpkgDeb(QStringLiteral("-f"), QStringLiteral("Recommends")).trimmed(),
                 QStringLiteral(
                     "open-jtalk, open-jtalk-mecab-naist-jdic, hts-voice-nitech-jp-atr503-m001"));
        const QString files = dpkgDeb(QStringLiteral("-c"));
        for (const QString& file :
             {QStringLiteral("./usr/bin/Q57"), QStringLiteral("./usr/share/q57/routes/12.hy3"),
              QStringLiteral("./usr/share/applications/%1.desktop").arg(kId)})
            QVERIFY2(files.contains(file + QLatin1Char('\n')), qPrintable(file));
        // Staged in a temporary folder, the settings still name where the package puts things.
        dpkgDeb(QStringLiteral("-x"), dir.filePath(QStringLiteral("root")));
        const IniRecord settings =
            settingsIn(dir.filePath(QStringLiteral("root/usr/share/q57/Q57.in4")));
        QCOMPARE(settings.FareDataDir, QStringLiteral("/usr/share/q57/routes"));
        QCOMPARE(settings.SoundRouteSet, QStringLiteral("/usr/share/q57/sounds/route_set.wav"));
        QCOMPARE(entryCommand(dir.filePath(
                     QStringLiteral("root/usr/share/applications/%1.desktop").arg(kId))),
                 QStringLiteral("/usr/bin/Q57"));
    }
};

QTEST_GUILESS_MAIN(tst_Install)
#include "tst_Install.moc"
