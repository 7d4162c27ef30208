#include "announce/TapeFile.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"
#include "platform/ShiftJis.h"
#include "support/FileSupport.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kFixtures = QStringLiteral(Q57_SOURCE_DIR "/tests/data/tape");

} // namespace

class tst_TapeFile : public QObject {
    Q_OBJECT
private slots:
    void fixtureGivesItsOutcome_data() {
        TestSupport::addFixtureRows(kFixtures, QStringLiteral("*.csv"));
    }
    void fixtureGivesItsOutcome() {
        QFETCH(QString, file);
        QFETCH(QString, outcome);
        const Result<QByteArray> bytes = FileBytes::read(file);
        const Result<std::vector<TapeData>> read =
            bytes ? TapeFile::read(bytes.value()) : bytes.error();
        QCOMPARE(read ? QStringLiteral("reads %1").arg(read.value().size())
                      : QStringLiteral("error %1").arg(read.error().number()),
                 outcome);
    }

    void valuesAsListInputReadsThem() {
        const struct {
            const char* line;
            TapeData expected;
        } cases[] = {
            {"\"a,b\",1,2", {QStringLiteral("a,b"), 1, 2}},
            // Blanks around a value go, blanks inside it stay; a sign is allowed.
            {"  次は 、 北町 ,\t+1 ,\u3000-3 ", {QStringLiteral("次は 、 北町"), 1, -3}},
            {"\" 北町 \" ,0,0", {QStringLiteral(" 北町 "), 0, 0}},
            // "" in a quoted value is one quote; what follows the closing quote is dropped.
            {"\"「\"\"北町\"\"」\" です,1,1", {QStringLiteral("「\"北町\"」"), 1, 1}},
            {"次は\"北町\",1,1", {QStringLiteral("次は\"北町\""), 1, 1}},
            {"北町,,", {QStringLiteral("北町"), 0, 0}},
            {"北町,-32768,32767", {QStringLiteral("北町"), -32768, 32767}},
            // Decimals round to the nearest whole number, halves to the even one.
            {"北町,1.5,2.5", {QStringLiteral("北町"), 2, 2}},
            {"北町,-0.5,.51", {QStringLiteral("北町"), 0, 1}},
            {"次は、北町です。,1\r\n\r\n 2", {QStringLiteral("次は、北町です。"), 1, 2}},
        };
        for (const auto& c : cases) {
            const Result<std::vector<TapeData>> read =
                TapeFile::read(ShiftJis::encode(QString::fromUtf8(c.line)));
            QVERIFY2(read, c.line);
            QCOMPARE(read.value(), std::vector<TapeData>{c.expected});
        }
        const QByteArray utf8 = "\xEF\xBB\xBF" + QStringLiteral("灯台公園,1,3").toUtf8();
        QCOMPARE(TapeFile::read(utf8).value().front().Text, QStringLiteral("灯台公園"));
    }

    void fileFoundWhateverTheCaseOfItsEnding() {
        QTemporaryDir folder;
        const QString prefix = folder.path() + u'/';
        QCOMPARE(TapeFile::path(prefix, QStringLiteral("12")), prefix + QStringLiteral("12tp.csv"));
        QVERIFY(SafeSave::write(prefix + QStringLiteral("12TP.CSV"), "a,0,0"));
        QCOMPARE(TapeFile::path(prefix, QStringLiteral("12")), prefix + QStringLiteral("12TP.CSV"));
        QVERIFY(SafeSave::write(prefix + QStringLiteral("12tp.csv"), "a,0,0"));
        QCOMPARE(TapeFile::path(prefix, QStringLiteral("12")), prefix + QStringLiteral("12tp.csv"));
    }
};

QTEST_GUILESS_MAIN(tst_TapeFile)
#include "tst_TapeFile.moc"
