#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void touch(const QString& name) {
    QDir().mkpath(QFileInfo(name).absolutePath());
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestSettingsLocation : public QObject {
    Q_OBJECT
private slots:
    void writableFolderIsTriedForReal() {
        QTemporaryDir folder;
        QVERIFY(SettingsLocation::canCreateFiles(folder.path()));
        QVERIFY(QDir(folder.path())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
        // Nobody, root included, can make a file here, whatever its permission bits say.
        QVERIFY(!SettingsLocation::canCreateFiles(QStringLiteral("/proc")));
        QVERIFY(!SettingsLocation::canCreateFiles(folder.filePath(QStringLiteral("gone"))));
    }

    void fileReadAndWrittenByWhereTheProgramStands() {
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("bin"));
        const QString user = root.filePath(QStringLiteral("config/Q57"));
        const QString firstStart = root.filePath(QStringLiteral("share/q57/Q57.in4"));
        QDir().mkpath(program);
        const QString name = QStringLiteral("Q57.in4");
        const QString beside = program + QStringLiteral("/Q57.in4");
        const QString own = user + QStringLiteral("/Q57.in4");
        using Files = SettingsLocation::Files;
        auto choose = [&](const QString& programFolder, const QString& fileName) {
            return SettingsLocation::choose({programFolder, user, firstStart}, fileName);
        };
        auto same = [](const Files& a, const Files& b) {
            return a.read == b.read && a.write == b.write;
        };

        // A portable copy: beside the program, even on the first start.
        QVERIFY(same(choose(program, name), {beside, beside}));
        touch(firstStart);
        QVERIFY(same(choose(program, name), {firstStart, beside}));
        touch(own);
        touch(beside);
        QVERIFY(same(choose(program, name), {beside, beside}));

        // An installed program: the user's own file first, then the first-start one, always
        // written to the user's folder.
        const QString locked = QStringLiteral("/proc");
        QVERIFY(same(choose(locked, name), {own, own}));
        QFile::remove(own);
        QVERIFY(same(choose(locked, name), {firstStart, own}));
        QFile::remove(firstStart);
        QVERIFY(same(choose(locked, name), {own, own}));
        // An administrator's file beside the program comes before the first-start one: /proc
        // has files of its own to stand for it.
        touch(firstStart);
        const QString besideLocked = QStringLiteral("/proc/version");
        const QString ownVersion = user + QStringLiteral("/version");
        QVERIFY(same(choose(locked, QStringLiteral("version")), {besideLocked, ownVersion}));
        touch(ownVersion);
        QVERIFY(same(choose(locked, QStringLiteral("version")), {ownVersion, ownVersion}));
    }
};

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_SettingsLocation.moc"
