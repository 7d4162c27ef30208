#include "Q57App.h"
#include "controls/M_Degit.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "panel/mdlQ57_000.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"
#include "render/RideRenderer.h"
#include "settings/IniFile.h"
#include "settings/mdlIniIo.h"
#include "support/FileSupport.h"
#include "support/TestSupport.h"
#include "support/VideoDecode.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

TestSupport::ProgramRun runTool(const QStringList& arguments, const QString& folder) {
    return TestSupport::runProgram(QStringLiteral(Q57_RENDER), arguments, folder);
}

const QColor kLit(248, 210, 114);
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

    // Route 7 of the samples, scripted: the route set (its sound, 3 s of lamp test), a step
    // with its chime, the first announcement with its pre-announcement sound and speech.
    void scriptedRideOfRoute7() {
        QTemporaryDir folder;
        IniRecord record =
            IniFile::decode(
                FileBytes::read(QStringLiteral(Q57_BUILD_DIR "/Q57.in4")).valueOrThrow())
                .valueOrThrow();
        record.FareDataDir = QStringLiteral(Q57_SOURCE_DIR "/data/routes");
        // Sounds that hold the ride would move what follows by their lengths.
        record.StepSoundSync = 0;
        record.PreSoundSync = 0;
        const QString settings = folder.filePath(QStringLiteral("ride.in4"));
        const QString script = folder.filePath(QStringLiteral("ride.csv"));
        SafeSave::write(settings, IniFile::encode(record).value()).valueOrThrow();
        SafeSave::write(script, "set,7\nwait,2\nstep\nwait,2\nannounce\nwait,5\n").valueOrThrow();

        const QString video = folder.filePath(QStringLiteral("ride.webm"));
        const auto run = TestSupport::runProgram(QStringLiteral(Q57_RENDER),
                                                 {QStringLiteral("video"), settings,
                                                  QStringLiteral("7"), QStringLiteral("--script"),
                                                  script, QStringLiteral("--out"), video});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));

        const TestSupport::DecodedVideo decoded =
            TestSupport::decodeVideo(video, {2000, 4000, 6000});
        QVERIFY2(decoded.error.isEmpty(), qPrintable(decoded.error));
        QVERIFY2(qAbs(decoded.frameCount * 1000 / 30 - 12000) <= 1000 / 30 + 1,
                 qPrintable(QString::number(decoded.frameCount)));

        // Where the program's panel has its first two fare positions; the encoding leaves
        // colours near, not at, what was drawn.
        Form1 form;
        mdlQ57_000::InitFareDegits(form);
        const auto litOnly = [](QImage image) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    const int off = qAbs(c.red() - kLit.red()) + qAbs(c.green() - kLit.green()) +
                                    qAbs(c.blue() - kLit.blue());
                    image.setPixelColor(x, y, off < 150 ? kLit : Qt::black);
                }
            return image;
        };
        const auto shown = [&](qint64 ms, int position) {
            M_Degit& digit = form.Degit(position);
            const QSize cell = M_Degit::cellSize(digit.DegitSize());
            const QImage part = litOnly(decoded.frames[ms].copy(digit.geometry()));
            return TestSupport::readSegments(part, cell.width(), cell.height(), kLit).trimmed();
        };
        QCOMPARE(shown(2000, 1), QStringLiteral("8888"));
        QCOMPARE(shown(4000, 1), QStringLiteral("150"));
        QCOMPARE(shown(6000, 1), QStringLiteral("190"));
        QCOMPARE(shown(6000, 2), QStringLiteral("150"));

        // Loud where the route-set sound, the step chime and the announcement start; silent
        // in the lamp test and between.
        const int quiet = 600;
        QVERIFY(decoded.peak(50, 400) > 5 * quiet);
        QVERIFY(decoded.peak(1200, 2800) < quiet);
        QVERIFY(decoded.peak(3200, 4900) < quiet);
        QVERIFY(decoded.peak(5050, 5400) > 5 * quiet);
        QVERIFY(decoded.peak(5800, 6900) < quiet);
        QVERIFY(decoded.peak(7050, 7400) > 5 * quiet);
    }
};

QTEST_MAIN(tst_q57_render)
#include "tst_q57_render.moc"
