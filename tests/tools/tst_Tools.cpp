#include "Hy3Csv.h"
#include "Q57App.h"
#include "app/FareFile.h"
#include "app/FareFileBytes.h"
#include "app/frmCtl.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"
#include "support/Fakes.h"
#include "support/FileSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace FareFileBytes;

namespace {

const QString kSample = QStringLiteral(Q57_SOURCE_DIR "/data/gtfs-sample");

TestSupport::ProgramRun gtfs2hy3(const QStringList& arguments) {
    return TestSupport::runProgram(QStringLiteral(GTFS2HY3), arguments);
}

QStringList importing(const QString& out, const QStringList& more = {}) {
    return QStringList{kSample} + QStringLiteral("--route 21000-0 --number 57 --out").split(u' ') +
           QStringList{out} + more;
}

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

TestSupport::ProgramRun runTool(const QStringList& arguments) {
    return TestSupport::runProgram(QStringLiteral(Q57_PLUGIN), arguments);
}

} // namespace

class tst_Tools : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void listsAndWritesAsItsInterfaceSays() {
        const auto list = gtfs2hy3({kSample, QStringLiteral("--list")});
        QCOMPARE(list.exitCode, 0);
        QVERIFY2(list.out.contains(QStringLiteral("21000-0  川57  末吉橋矢向循環\n  pattern 1  "
                                                  "direction 0  川崎駅西口59番のりば → "
                                                  "川崎駅西口１番のりば  21 stops  3 trips")),
                 qPrintable(list.out));
        QVERIFY(list.out.contains(QStringLiteral("25000-1  川56")));

        QTemporaryDir dir;
        const auto made = gtfs2hy3(importing(dir.path()));
        QCOMPARE(made.exitCode, 0);
        QVERIFY2(made.out.contains(QStringLiteral("21 stops, 10 ticket numbers, fares 190 to 280")),
                 qPrintable(made.out));
        const QString fareFile = dir.filePath(QStringLiteral("57.hy3"));
        const QByteArray written = FileBytes::read(fareFile).valueOrThrow();
        // A file already there stays unless --force is given.
        SafeSave::write(fareFile, "mine").valueOrThrow();
        const auto refused = gtfs2hy3(importing(dir.path()));
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(fareFile + QStringLiteral(" is already there")),
                 qPrintable(refused.err));
        QCOMPARE(FileBytes::read(fareFile).valueOrThrow(), QByteArray("mine"));
        QCOMPARE(gtfs2hy3(importing(dir.path(), {QStringLiteral("--force")})).exitCode, 0);
        QCOMPARE(FileBytes::read(fareFile).valueOrThrow(), written);

        QVERIFY(gtfs2hy3({kSample, "--route", "21000-0", "--csv"})
                    .out.startsWith(
                        QStringLiteral("川崎駅西口59番のりば,1\n南幸町二丁目１番のりば,2,190\n")));

        // An unusable feed writes nothing.
        QTemporaryDir empty;
        QCOMPARE(gtfs2hy3({empty.path(), QStringLiteral("--list")}).err,
                 QStringLiteral("gtfs2hy3: agency.txt: the feed has no such file\n"));
        const auto unknown = gtfs2hy3(QStringList{kSample} +
                                      QStringLiteral("--route X --number 5 --out").split(u' ') +
                                      QStringList{empty.path()});
        QCOMPARE(unknown.exitCode, 1);
        QVERIFY(QDir(empty.path()).isEmpty());
        QCOMPARE(gtfs2hy3({kSample, QStringLiteral("--route")}).exitCode, 1);
    }

    void ridesTheImportedRoute() {
        QTemporaryDir dir;
        QCOMPARE(gtfs2hy3(importing(dir.path())).exitCode, 0);
        TestSupport::SpeechLog speech;
        Q57App program({}, [&speech] { return std::make_unique<TestSupport::FakeSpeech>(speech); });
        program.start();
        frmCtl& ctl = program.operatingPanel();
        ctl.setLampTestMilliseconds(0);
        TestSupport::changeSettings(program.options(), [&dir](IniRecord& s) {
            s.FareDataDir = s.TapeDataDir = dir.path();
        });
        QCOMPARE(TestSupport::setRoute(ctl, QStringLiteral("57"), QStringLiteral("1")), QString());
        // The opening, then the next stops with the feed's readings, stepping the fares to them.
        for (int i = 0; i < 3; ++i)
            TestSupport::click(ctl, QStringLiteral("cmdTapeNext"));
        QCOMPARE(program.form().Degit(1).Value().toInt(), 200);
        QCOMPARE(program.form().Degit(2).Value().toInt(), 190);
        QCOMPARE(speech.calls.filter(QStringLiteral("speak ")),
                 (QStringList{QStringLiteral("speak ご乗車ありがとうございます。このバスは、"
                                             "すえよしばしやこうじゅんかんです。"),
                              QStringLiteral("speak 次は、南幸町二丁目１ばんのりばです。"),
                              QStringLiteral("speak 次は、南幸町１ばんのりばです。")}));
    }

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

    void listsEveryProblemAndDrawsNothing() {
        QTemporaryDir dir;
        const QString fixture =
            QStringLiteral(Q57_SOURCE_DIR "/tests/data/plugins/many-problems.4SP");
        const QString png = dir.filePath(QStringLiteral("ticket.png"));
        const auto run = runTool({fixture, png});
        QCOMPARE(run.exitCode, 1);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1], fixture + QStringLiteral(":14: CorpSwitch is missing"));
        QVERIFY(!QFile::exists(png));
    }

    void drawsTheTicketAtThePreviewsSize() {
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("ticket.png"));
        const QString sample = QStringLiteral(Q57_SOURCE_DIR "/data/plugins/minamo-plain.4SP");
        QCOMPARE(
            runTool({sample, png, QStringLiteral("number=42"), QStringLiteral("scale=2")}).exitCode,
            0);
        QCOMPARE(QImage(png).size(), QSize(1800 / 15 * 2, 2700 / 15 * 2));
        QCOMPARE(runTool({sample, png, QStringLiteral("number=forty")}).exitCode, 2);
    }
};

QTEST_MAIN(tst_Tools)
#include "tst_Tools.moc"
