#include "Q57App.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "render/RideRenderer.h"
#include "settings/mdlIniIo.h"
#include "support/FileSupport.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

TestSupport::ProgramRun runTool(const QStringList& arguments, const QString& folder) {
    return TestSupport::runProgram(QStringLiteral(Q57_RENDER), arguments, folder);
}

} // namespace

class tst_q57_render : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    // The pictures are the program's panel, stop by stop, with settings away from the defaults:
    // night fare, other colours, another label style.
    void stopsAreTheProgramsPanel() {
        QTemporaryDir folder;
        const QString settingsFile = folder.filePath(QStringLiteral("ride.in4"));
        mdlIniIo::setIniFileName(settingsFile);
        Q57App program({}, [] { return nullptr; });
        program.start();
        TestSupport::changeSettings(program.options(), [](IniRecord& s) {
            s.FareDataDir = QStringLiteral(Q57_SOURCE_DIR "/data/routes");
            s.SeiriNumStyle = 1;
            s.DegitForeColor = 0x40FF40;
            s.ChimeiForeColor = 0x2020FF;
        });
        program.IniData().LateNightFare = 1;
        program.SaveIni();
        program.LoadIni();
        program.ride().setLampTestMilliseconds(0);
        QVERIFY(!program.ride().setRoute(QStringLiteral("12"), QStringLiteral("2")));
        QList<QImage> shown;
        for (int stop = 0; stop < 3; ++stop) {
            shown.append(TestSupport::grabbed(program.form()));
            program.ride().step(Ride::Direction::Forward);
        }

        const QString out = folder.filePath(QStringLiteral("stops"));
        const auto run = runTool({QStringLiteral("stops"), settingsFile, QStringLiteral("12"),
                                  QStringLiteral("--section"), QStringLiteral("2"),
                                  QStringLiteral("--out"), out},
                                 folder.path());
        QCOMPARE(run.exitCode, 0);
        for (int stop = 0; stop < 3; ++stop) {
            const QImage picture(
                QStringLiteral("%1/%2.png").arg(out).arg(stop + 1, 3, 10, QChar(u'0')));
            QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), shown[stop]);
        }
        // Section 2 of route 12 is its second stop on: 21 stops, the last one shown.
        QVERIFY(QFile::exists(out + QStringLiteral("/021.png")));
        QVERIFY(!QFile::exists(out + QStringLiteral("/022.png")));
        QVERIFY(!QFile::exists(out + QStringLiteral("/001-ticket.png")));

        // A route the settings cannot set: the program's message, nothing drawn.
        const QString none = folder.filePath(QStringLiteral("none"));
        const auto missing = runTool({QStringLiteral("stops"), settingsFile, QStringLiteral("99"),
                                      QStringLiteral("--out"), none},
                                     folder.path());
        QCOMPARE(missing.exitCode, 1);
        QVERIFY2(missing.err.contains(QStringLiteral("指定した系統のデータがありません...")),
                 qPrintable(missing.err));
        QVERIFY(!QFile::exists(none));
    }

    // Without the engine the program's announcement group cannot be pressed: "送り" plays no
    // pre-announcement sound, moves no announcement and steps no fares; one warning says why.
    void unusableSpeechAnnouncesNothing() {
        IniRecord settings;
        settings.FareDataDir = QStringLiteral(Q57_SOURCE_DIR "/data/routes");
        settings.TapeDataDir = settings.FareDataDir;
        settings.PreSoundAlways = -1;
        settings.PreSoundFile = QStringLiteral(Q57_SOURCE_DIR "/data/sounds/two_tone.mp3");
        JTalkSpeech::Config missing;
        missing.program = QStringLiteral("/nonexistent/open_jtalk");
        RideRenderer renderer(settings, missing);
        QVERIFY(!renderer.ride().setRoute(QStringLiteral("7"), QStringLiteral("1")));
        QCOMPARE(renderer.tape().GetTapeCount(), 5);
        // The second announcement of route 7 is linked to the fares.
        renderer.announce();
        renderer.announce();
        QCOMPARE(renderer.tape().GetTapeIndex(), 0);
        QCOMPARE(renderer.ride().data().CurStop, 0);
        QCOMPARE(renderer.audio().soundEnd(), 0);
        QVERIFY(!renderer.audio().warnings().contains(QLatin1Char('\n')));
        QVERIFY(renderer.audio().warnings().contains(QLatin1String("open_jtalk")));
    }
};

QTEST_MAIN(tst_q57_render)
#include "tst_q57_render.moc"
