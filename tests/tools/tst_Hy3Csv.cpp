#include "Hy3Csv.h"
#include "app/FareFile.h"
#include "app/FareFileBytes.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"
#include "support/FileSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace FareFileBytes;

namespace {

QByteArray readFile(const QString& path) {
    return FileBytes::read(path).valueOrThrow();
}

// The fare data file the CSV stands for, or the error that refused it.
Result<QByteArray> fareFile(const QString& csv) {
    const Result<std::vector<FareRecord>> records = Hy3Csv::fromCsv(csv);
    if (!records)
        return records.error();
    return FareFile::encode(records.value());
}

} // namespace

class tst_Hy3Csv : public QObject {
    Q_OBJECT
private slots:
    void buildsTheFareFile() {
        const QString csv = QStringLiteral(
            "\uFEFF# 停留所名,整理券番号,運賃…\r\n駅前,1,180,-1\r\n\r\n\"A,\"\"B\"\"\",2,,5\r\n");
        const QByteArray bytes = fareFile(csv).valueOrThrow();
        QCOMPARE(bytes, count(2) + record("\x89\x77\x91\x4F", 1, {180, -1}) +
                            record("A,\"B\"", 2, {0, 5}));

        const auto records = FareFile::records(bytes, 2);
        QVERIFY(records);
        QCOMPARE(Hy3Csv::toCsv(records.value()),
                 QStringLiteral("駅前,1,180,-1\n\"A,\"\"B\"\"\",2,0,5\n"));
        QCOMPARE(fareFile(Hy3Csv::toCsv(records.value())).valueOrThrow(), bytes);

        // A stop name that begins with # is printed quoted, or it would read back as a note.
        const auto hashName = Hy3Csv::fromCsv(QStringLiteral("\"#1のりば\",3\n")).valueOrThrow();
        QCOMPARE(Hy3Csv::toCsv(hashName), QStringLiteral("\"#1のりば\",3\n"));
    }

    void refusesBadRowsByLine() {
        const QString tooManyFares = QStringLiteral("A,1") + QStringLiteral(",1").repeated(151);
        const struct {
            QString csv;
            QString error;
        } cases[] = {
            {QStringLiteral("A,1\nB"),
             QStringLiteral("line 2: a stop needs a name and a ticket number")},
            {QStringLiteral("A,x"),
             QStringLiteral(
                 "line 1: the ticket number is not a whole number from -32768 to 32767")},
            {QStringLiteral("#\nA,1,2,40000"),
             QStringLiteral("line 2: fare 2 is not a whole number from -32768 to 32767")},
            {QStringLiteral("A,1,1.5"),
             QStringLiteral("line 1: fare 1 is not a whole number from -32768 to 32767")},
            {tooManyFares, QStringLiteral("line 1: more than 150 fares")},
            {QStringLiteral("\"A,1"), QStringLiteral("line 1: a quoted stop name is not closed")},
            {QStringLiteral("A,1\n한국,2"),
             QStringLiteral("line 2: the stop name has characters Shift-JIS lacks")},
            {QStringLiteral("A,1\n").repeated(302),
             QStringLiteral("line 302: more than 301 stops")},
            {QStringLiteral("# only a note\n"), QStringLiteral("the file has no stops")},
        };
        for (const auto& c : cases) {
            const auto records = Hy3Csv::fromCsv(c.csv);
            QVERIFY2(!records, qPrintable(c.error));
            QCOMPARE(records.error().description(), c.error);
        }
    }

    void sampleRoutesAreTheirCsv() {
        for (const char* route : {"12", "7"}) {
            const QString base = QStringLiteral(Q57_SOURCE_DIR "/data/routes/") + route;
            QCOMPARE(readFile(base + ".hy3"),
                     fareFile(QString::fromUtf8(readFile(base + ".csv"))).valueOrThrow());
        }
    }

    // Building over an existing route on a full disk fails, saying so, and keeps the route.
    void fullDiskKeepsTheRoute() {
        QTemporaryDir dir;
        const QString route = dir.filePath(QStringLiteral("12.hy3"));
        const QByteArray old = readFile(QStringLiteral(Q57_SOURCE_DIR "/data/routes/7.hy3"));
        QVERIFY(SafeSave::write(route, old));
        TestSupport::ProgramRun run;
        {
            TestSupport::FileSizeLimit limit(4'096);
            run = TestSupport::runProgram(
                QStringLiteral(HY3CSV),
                {QStringLiteral(Q57_SOURCE_DIR "/data/routes/12.csv"), route});
        }
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(route + ": not written"), qPrintable(run.err));
        QCOMPARE(readFile(route), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("12.hy3")});
    }
};

QTEST_GUILESS_MAIN(tst_Hy3Csv)
#include "tst_Hy3Csv.moc"
