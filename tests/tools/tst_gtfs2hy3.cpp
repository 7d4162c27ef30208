#include "Q57App.h"
#include "app/frmCtl.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"
#include "support/Fakes.h"
#include "support/FileSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kSample = QStringLiteral(Q57_SOURCE_DIR "/data/gtfs-sample");

TestSupport::ProgramRun gtfs2hy3(const QStringList& arguments) {
    return TestSupport::runProgram(QStringLiteral(GTFS2HY3), arguments);
}

QStringList importing(const QString& out, const QStringList& more = {}) {
    return QStringList{kSample} + QStringLiteral("--route 21000-0 --number 57 --out").split(u' ') +
           QStringList{out} + more;
}

} // namespace

class tst_gtfs2hy3 : public QObject {
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
};

QTEST_MAIN(tst_gtfs2hy3)
#include "tst_gtfs2hy3.moc"
