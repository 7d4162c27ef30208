// The installed program: what `cmake --install` and the Debian package put where, first-start
// settings that name the installed samples, and desktop files that pass their validators.

#include "settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
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
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    Result<IniRecord> settings = IniFile::decode(in.readAll());
    return settings ? std::move(settings).value() : IniRecord{};
}

// The line "key=value" of a desktop entry.
QString desktopValue(const QString& file, const QString& key) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    for (const QString& line : QString::fromUtf8(in.readAll()).split(u'\n'))
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    return {};
}

} // namespace

class tst_Install : public QObject {
    Q_OBJECT
private slots:
    void installsIntoAnyPrefix() {
        QTemporaryDir dir;
        // Not the build's own prefix: the settings must follow the one given at install time.
        const QString prefix = dir.filePath(QStringLiteral("usr"));
        const Run install =
            run(QStringLiteral(CMAKE), {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                                        QStringLiteral("--prefix"), prefix});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
        const QDir root(prefix);
        const QString desktop =
            QStringLiteral("share/applications/") + kId + QStringLiteral(".desktop");
        const QString metainfo =
            QStringLiteral("share/metainfo/") + kId + QStringLiteral(".metainfo.xml");
        for (const QString& file :
             {QStringLiteral("bin/hy3csv"), QStringLiteral("bin/q57_plugin"),
              QStringLiteral("share/q57/routes/12.hy3"), QStringLiteral("share/q57/routes/7.hy3"),
              QStringLiteral("share/q57/plugins/minamo-plain.4SP"), desktop, metainfo,
              QStringLiteral("share/icons/hicolor/scalable/apps/") + kId + QStringLiteral(".svg"),
              QStringLiteral("share/doc/q57/README.md"),
              QStringLiteral("share/doc/q57/docs/ticket-plugins.md")})
            QVERIFY2(QFileInfo::exists(root.filePath(file)), qPrintable(file));
        QCOMPARE(QImage(root.filePath(QStringLiteral("share/icons/hicolor/128x128/apps/") + kId +
                                      QStringLiteral(".png")))
                     .size(),
                 QSize(128, 128));
        // What the desktop entry starts and shows is installed under those names.
        const QString command = desktopValue(root.filePath(desktop), QStringLiteral("Exec"));
        QVERIFY(QFileInfo(root.filePath(QStringLiteral("bin/") + command)).isExecutable());
        QCOMPARE(desktopValue(root.filePath(desktop), QStringLiteral("Icon")), kId);

        const QString data = root.filePath(QStringLiteral("share/q57"));
        const IniRecord settings = settingsIn(data + QStringLiteral("/Q57.in4"));
        QCOMPARE(settings.FareDataDir, data + QStringLiteral("/routes"));
        QCOMPARE(settings.TapeDataDir, data + QStringLiteral("/routes"));
        QCOMPARE(settings.UseSeiriPrev, 1);
        for (const QString& file :
             {settings.SeiriPlgFile, settings.SoundRouteSet, settings.SoundReset,
              settings.StepSoundFile1, settings.StepSoundFile2, settings.StepSoundFile3,
              settings.PreSoundFile1, settings.PreSoundFile2, settings.PreSoundFile3})
            QVERIFY2(file.startsWith(data) && QFileInfo(file).isFile(), qPrintable(file));

        const Run entry = run(QStringLiteral("desktop-file-validate"), {root.filePath(desktop)});
        QVERIFY2(entry.exitCode == 0 && entry.output.isEmpty(), qPrintable(entry.output));
        const Run appstream =
            run(QStringLiteral("appstreamcli"),
                {QStringLiteral("validate"), QStringLiteral("--no-net"), root.filePath(metainfo)});
        QVERIFY2(appstream.exitCode == 0, qPrintable(appstream.output));
    }

    void packagesForDebian() {
        QTemporaryDir dir;
        const Run cpack =
            run(QStringLiteral(CPACK),
                {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), dir.path(),
                 QStringLiteral("--config"), QStringLiteral(BUILD_DIR "/CPackConfig.cmake")});
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
        const QStringList debs = QDir(dir.path()).entryList({QStringLiteral("*.deb")});
        QCOMPARE(debs.size(), 1);
        const QString deb = dir.filePath(debs.first());

        auto field = [&deb](const char* name) {
            return run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QLatin1String(name)})
                .output;
        };
        const QString depends = field("Depends");
        for (const char* package :
             {"libqt6widgets6", "libqt6gui6", "libgstreamer1.0-0", "gstreamer1.0-plugins-good",
              "gstreamer1.0-plugins-bad", "timgm6mb-soundfont", "fonts-ipafont-gothic", "libicu72",
              "libc6"})
            QVERIFY2(depends.contains(QLatin1String(package)), qPrintable(depends));
        QVERIFY(!depends.contains(QLatin1String("open-jtalk")));
        QCOMPARE(field("Recommends").trimmed(),
                 QStringLiteral(
                     "open-jtalk, open-jtalk-mecab-naist-jdic, hts-voice-nitech-jp-atr503-m001"));

        const QString files = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb}).output;
        for (const QString& file :
             {QStringLiteral("./usr/bin/Q57"), QStringLiteral("./usr/share/q57/Q57.in4"),
              QStringLiteral("./usr/share/q57/routes/12.hy3"),
              QStringLiteral("./usr/share/applications/") + kId + QStringLiteral(".desktop")})
            QVERIFY2(files.contains(file + u'\n'), qPrintable(file));
        // Staged in a temporary folder, the settings still name where the package puts things.
        const QString unpacked = dir.filePath(QStringLiteral("root"));
        QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, unpacked}).exitCode,
                 0);
        const IniRecord settings = settingsIn(unpacked + QStringLiteral("/usr/share/q57/Q57.in4"));
        QCOMPARE(settings.FareDataDir, QStringLiteral("/usr/share/q57/routes"));
        QCOMPARE(settings.SoundRouteSet, QStringLiteral("/usr/share/q57/sounds/route_set.wav"));
    }
};

QTEST_GUILESS_MAIN(tst_Install)
#include "tst_Install.moc"
