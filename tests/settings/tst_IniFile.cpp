#include "platform/FileBytes.h"
#include "settings/IniFile.h"
#include "support/FileSupport.h"

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
};

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_IniFile.moc"
