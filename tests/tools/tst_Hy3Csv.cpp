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

    void refusesBadRowsByLine_data() {
        TestSupport::addFixtureRows(QStringLiteral(Q57_SOURCE_DIR "/tests/data/csv"),
                                    QStringLiteral("*.csv"));
    }
    void refusesBadRowsByLine() {
        QFETCH(QString, file);
        QFETCH(QString, outcome);
        const auto records = Hy3Csv::fromCsv(QString::fromUtf8(readFile(file)));
        QVERIFY(!records);
        QCOMPARE(records.error().description(), outcome);
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
