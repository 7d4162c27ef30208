#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsLocation : public QObject {
    Q_OBJECT
private slots:
    void writableFolderIsTriedForReal() {
        QTemporaryDir folder;
        QVERIFY(SettingsLocation::canCreateFiles(folder.path()));
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList());
        // Nobody, root included, can make a file here, whatever its permission bits say.
        QVERIFY(!SettingsLocation::canCreateFiles(QStringLiteral("/proc")));
        QVERIFY(!SettingsLocation::canCreateFiles(folder.filePath(QStringLiteral("gone"))));
    }

    void fileReadAndWrittenByWhereTheProgramStands() {
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("bin"));
        const QString user = root.filePath(QStringLiteral("config"));
        const QString firstStart = root.filePath(QStringLiteral("Q57-first.in4"));
        QDir().mkpath(program);
        QDir().mkpath(user);
        const QString beside = program + QStringLiteral("/Q57.in4");
        const QString own = user + QStringLiteral("/Q57.in4");
        const auto chosen = [&](const QString& programFolder, const QString& name) {
            const auto files = SettingsLocation::choose({programFolder, user, firstStart}, name);
            return QStringList{files.read, files.write};
        };
        const auto touch = [](const QString& name) { QFile(name).open(QIODevice::WriteOnly); };

        // A portable copy: beside the program.
        QCOMPARE(chosen(program, "Q57.in4"), QStringList({beside, beside}));
        // Installed in a folder the user can write: the user's folder all the same, starting
        // from the first-start file; a file beside the program is its own again.
        touch(firstStart);
        QCOMPARE(chosen(program, "Q57.in4"), QStringList({firstStart, own}));
        touch(own);
        QCOMPARE(chosen(program, "Q57.in4"), QStringList({own, own}));
        touch(beside);
        QCOMPARE(chosen(program, "Q57.in4"), QStringList({beside, beside}));

        // Installed where nobody can write: the user's own file first, then the first-start one,
        // always written to the user's folder.
        QCOMPARE(chosen("/proc", "Q57.in4"), QStringList({own, own}));
        QFile::remove(own);
        QCOMPARE(chosen("/proc", "Q57.in4"), QStringList({firstStart, own}));
        QFile::remove(firstStart);
        QCOMPARE(chosen("/proc", "Q57.in4"), QStringList({own, own}));
        // An administrator's file beside the program comes before the first-start one: /proc
        // has files of its own to stand for it.
        touch(firstStart);
        QCOMPARE(chosen("/proc", "version"), QStringList({"/proc/version", user + "/version"}));
    }
};

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_SettingsLocation.moc"
