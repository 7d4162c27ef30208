#include "platform/FileBytes.h"
#include "settings/IniFile.h"
#include "settings/SettingsLocation.h"
#include "support/FileSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

const QString kFixtures = QStringLiteral(Q57_SOURCE_DIR "/tests/data/settings");

} // namespace

class tst_IniFile : public QObject {
    Q_OBJECT
private slots:
    void fixtureGivesItsOutcome_data() {
        TestSupport::addFixtureRows(kFixtures, QStringLiteral("*.in4"));
    }
    void fixtureGivesItsOutcome() {
        QFETCH(QString, file);
        QFETCH(QString, outcome);
        const QByteArray bytes = FileBytes::read(file).valueOrThrow();
        const Result<IniRecord> ini = IniFile::decode(bytes);
        QCOMPARE(ini ? QStringLiteral("decodes")
                     : QStringLiteral("error %1").arg(ini.error().number()),
                 outcome);
        if (ini) {
            const QByteArray again = IniFile::encode(ini.value()).valueOrThrow();
            QCOMPARE(again, bytes.left(again.size()));
        }
    }

    // Another digit count changes nothing: 61 entries follow it all the same.
    void digitCountIsNotRead() {
        const QByteArray bytes =
            FileBytes::read(kFixtures + QStringLiteral("/every-item-set.in4")).valueOrThrow();
        QByteArray otherCount = bytes;
        qToLittleEndian(qint16(5), otherCount.data() + otherCount.size() - 61 * 6 - 2);
        QCOMPARE(IniFile::decode(otherCount).value(), IniFile::decode(bytes).value());
    }

    // The count is 16 bits without a sign: 65535 bytes is the longest text a file holds.
    void longTexts() {
        IniRecord ini;
        ini.FareDataDir = QString(65535, u'a');
        const QByteArray bytes = IniFile::encode(ini).valueOrThrow();
        QCOMPARE(bytes.size(), 604 + 65535);
        QCOMPARE(IniFile::decode(bytes).value().FareDataDir, ini.FareDataDir);
        ini.FareDataDir += u'a';
        const Result<QByteArray> refused = IniFile::encode(ini);
        QVERIFY(!refused);
        QCOMPARE(refused.error().number(), int(RuntimeError::Overflow));
    }

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

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_IniFile.moc"
