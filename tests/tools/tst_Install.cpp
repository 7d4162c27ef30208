// The installed program: what `cmake --install` and the Debian package put where, first-start
// settings that name the installed samples, and desktop files that pass their validators.

#include "platform/FileBytes.h"
#include "settings/IniFile.h"
#include "support/FileSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using TestSupport::runProgram;

namespace {

const QString kId = QStringLiteral("jp.velmora.Q57");

IniRecord settingsIn(const QString& file) {
    return IniFile::decode(FileBytes::read(file).valueOrThrow()).valueOrThrow();
}

QString entry(const QString& desktopFile, const QString& key) {
    return QSettings(desktopFile, QSettings::IniFormat)
        .value(QStringLiteral("Desktop Entry/") + key)
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
        const auto install = runProgram(QStringLiteral(CMAKE),
                                        {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                                         QStringLiteral("--prefix"), root.path()});
        QVERIFY2(install.exitCode == 0, qPrintable(install.out + install.err));
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
        QCOMPARE(entry(desktop, QStringLiteral("Exec")), root.filePath(QStringLiteral("bin/Q57")));
        QVERIFY(QFileInfo(entry(desktop, QStringLiteral("Exec"))).isExecutable());
        QCOMPARE(entry(desktop, QStringLiteral("Icon")), kId);

        const QString data = root.filePath(QStringLiteral("share/q57"));
        const IniRecord settings = settingsIn(data + QStringLiteral("/Q57.in4"));
        QCOMPARE(settings.FareDataDir, data + QStringLiteral("/routes"));
        QCOMPARE(settings.TapeDataDir, data + QStringLiteral("/routes"));
        for (const QString& file :
             {settings.SeiriPlgFile, settings.SoundRouteSet, settings.SoundReset,
              settings.StepSoundFile1, settings.StepSoundFile2, settings.StepSoundFile3,
              settings.PreSoundFile1, settings.PreSoundFile2, settings.PreSoundFile3})
            QVERIFY2(file.startsWith(data) && QFileInfo(file).isFile(), qPrintable(file));

        const auto entryCheck = runProgram(QStringLiteral("desktop-file-validate"), {desktop});
        QVERIFY2(entryCheck.exitCode == 0 && (entryCheck.out + entryCheck.err).isEmpty(),
                 qPrintable(entryCheck.out + entryCheck.err));
        const auto appstream =
            runProgram(QStringLiteral("appstreamcli"),
                       {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
        QVERIFY2(appstream.exitCode == 0, qPrintable(appstream.out + appstream.err));
    }

    void packagesForDebian() {
        QTemporaryDir dir;
        const auto cpack = runProgram(QStringLiteral(CPACK),
                                      {QStringLiteral("-G"), QStringLiteral("DEB"),
                                       QStringLiteral("-B"), dir.path(), QStringLiteral("--config"),
                                       QStringLiteral(BUILD_DIR "/CPackConfig.cmake")});
        const QString said = cpack.out + cpack.err;
        QVERIFY2(cpack.exitCode == 0, qPrintable(said));
        // Quiet on success: the offscreen windows' notices would read like failures.
        QVERIFY2(!said.contains(QLatin1String("This plugin does not support")), qPrintable(said));
        const QStringList debs = QDir(dir.path()).entryList({QStringLiteral("*.deb")});
        QCOMPARE(debs.size(), 1);
        const QString deb = dir.filePath(debs.first());
        const auto field = [&deb](const char* name) {
            return runProgram(QStringLiteral("dpkg-deb"),
                              {QStringLiteral("-f"), deb, QLatin1String(name)})
                .out.trimmed();
        };

        // What the programs link, found by the packaging, and what they load at run time.
        const QString depends = field("Depends");
        for (const char* package :
             {"libqt6widgets6", "libqt6gui6", "libgstreamer1.0-0", "gstreamer1.0-plugins-good",
              "gstreamer1.0-plugins-bad", "timgm6mb-soundfont", "fonts-ipafont-gothic", "libicu72",
              "libc6"})
            QVERIFY2(depends.contains(QLatin1String(package)), qPrintable(depends));
        // One version: the package's is the one the AppStream release names.
        const QRegularExpressionMatch release =
            QRegularExpression(QStringLiteral("<release version=\"([^\"]+)\""))
                .match(QString::fromUtf8(
                    FileBytes::read(QStringLiteral(BUILD_DIR "/%1.metainfo.xml").arg(kId))
                        .valueOrThrow()));
        QVERIFY(release.hasMatch());
        QCOMPARE(field("Version"), release.captured(1));
        // Staged in a temporary folder, the settings still name where the package puts things.
        const QDir root(dir.filePath(QStringLiteral("root")));
        runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root.path()});
        const IniRecord settings =
            settingsIn(root.filePath(QStringLiteral("usr/share/q57/Q57.in4")));
        QCOMPARE(settings.FareDataDir, QStringLiteral("/usr/share/q57/routes"));
        QCOMPARE(entry(root.filePath(QStringLiteral("usr/share/applications/%1.desktop").arg(kId)),
                       QStringLiteral("Exec")),
                 QStringLiteral("/usr/bin/Q57"));
    }
};

QTEST_GUILESS_MAIN(tst_Install)
#include "tst_Install.moc"
