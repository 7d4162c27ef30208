#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "panel/mdlQ57_000.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"
#include "settings/IniFile.h"
#include "support/FileSupport.h"
#include "support/TestSupport.h"
#include "support/VideoDecode.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QColor kLit(248, 210, 114);
} // namespace

class tst_q57_render_video : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

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

QTEST_MAIN(tst_q57_render_video)
#include "tst_q57_render_video.moc"
