#include "Q57App.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "panel/SeirikenLabels.h"
#include "panel/mdlQ57_000.h"
#include "platform/KvRes.h"
#include "platform/WindowShape.h"
#include "support/TestSupport.h"

#include <QFontInfo>
#include <QLabel>
#include <QtTest>

namespace {

const QColor kUnlit(150, 150, 150);
const QColor kLit(248, 210, 114);

void sendMouse(QWidget& target, QEvent::Type type, QPoint local, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(local), QPointF(target.mapToGlobal(local)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

// The widgets that received a paint event.
struct PaintLog : QObject {
    QSet<QObject*> painted;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted.insert(watched);
        return false;
    }
};

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void loadStepShowsABlankPanel() {
        Q57App program;
        Form1& form = program.form();
        ChimeiCtl_B& strip = form.ChimeiCtl();
        QCOMPARE(strip.ForeColor(), 0x80C0FFu);
        // Built into the program as raw pixels: the picture, exactly.
        QCOMPARE(form.imgRes(0), QImage(QStringLiteral(Q57_SOURCE_DIR "/data/panel.png")));
        form.move(200, 100);
        program.start();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QCOMPARE(form.pos(), QPoint(0, 0));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form.mask(), WindowShape::roundRect2x2(0, 0, 755, 307));

        const QImage shown = TestSupport::grabbed(form);
        QCOMPARE(shown.pixelColor(20, 150), form.Picture().pixelColor(20, 150));
        for (int n = 1; n <= 61; ++n) {
            M_Degit& digit = form.Degit(n);
            QCOMPARE(digit.DegitStyle(), 1);
            QCOMPARE(TestSupport::segmentsOf(digit, kUnlit), QStringLiteral("8888"));
            QLabel& label = form.lblSeiriNum(n);
            QVERIFY(label.isVisible());
            QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::white));
        }

        // The stop-name strip sits left of the fares, in the options dialog's colours, which
        // replace the stored ones at start-up.
        QCOMPARE(strip.geometry(), QRect(60, 59, 35, 192));
        QCOMPARE(strip.Appearance(), 0);
        QCOMPARE(strip.viewportHeight(), 192);
        strip.SetChimei(QStringLiteral("駅前"));
        QVERIFY(TestSupport::countColour(TestSupport::grabbed(form).copy(strip.geometry()),
                                         QColor(255, 255, 0)) > 0);

        // A left drag on the face moves the window.
        sendMouse(form, QEvent::MouseButtonPress, {20, 150}, Qt::LeftButton, Qt::LeftButton);
        sendMouse(form, QEvent::MouseMove, {60, 170}, Qt::NoButton, Qt::LeftButton);
        sendMouse(form, QEvent::MouseButtonRelease, {60, 170}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(form.pos(), QPoint(40, 20));
    }

    void digitDialogReformatsEveryPosition() {
        Q57App program;
        program.start();
        Form1& form = program.form();
        form.show();
        form.Degit(5).setValue(7);
        form.Degit(61).setValue(180);
        form.TimeDegit(0).setValue(9);
        auto everyPositionHas = [&](int fillZero, int zeroMode) {
            for (int n = 1; n <= 61; ++n) {
                if (form.Degit(n).FillZero() != fillZero || form.Degit(n).ZeroMode() != zeroMode)
                    return false;
            }
            return true;
        };

        KvRes::ChoiceHook choices;
        choices.setNextDigitSettings(KvRes::ChoiceHook::DigitSettings{1, 0, 3});
        choices.setNextDigitSettings(std::nullopt);
        QTest::mouseDClick(&form.Degit(3), Qt::LeftButton);
        QVERIFY(everyPositionHas(3, 1));
        QCOMPARE(TestSupport::segmentsOf(form.Degit(5), kLit), QStringLiteral(" 007"));
        QCOMPARE(TestSupport::segmentsOf(form.Degit(61), kLit), QStringLiteral(" 180"));
        // A blank position now shows its zero, so it was redrawn with the new rules.
        QCOMPARE(TestSupport::segmentsOf(form.Degit(1), kLit), QStringLiteral(" 000"));
        QCOMPARE(form.TimeDegit(0).FillZero(), 0);

        // Cancelled, nothing changes: the clicked digit's own rules (its shift differs here) do
        // not spread. A digit the user may not set opens no dialog.
        form.Degit(40).setShift(1);
        QTest::mouseDClick(&form.Degit(40), Qt::LeftButton);
        QVERIFY(program.operatingPanel().isEnabled());
        QVERIFY(everyPositionHas(3, 1));
        QCOMPARE(TestSupport::segmentsOf(form.Degit(5), kLit), QStringLiteral(" 007"));
        form.Degit(7).setUserSet(false);
        QTest::mouseDClick(&form.Degit(7), Qt::LeftButton);
        QCOMPARE(choices.asked().size(), 2);
    }

    // A step repaints the positions whose text changed and nothing else: neither the other
    // positions nor the panel's picture behind them.
    void aStepRepaintsOnlyTheChangedPositions() {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PaintLog log;
        form.installEventFilter(&log);
        for (int n = 1; n <= 61; ++n) {
            form.Degit(n).installEventFilter(&log);
            form.setFare(n, 100 + n);
        }
        QCoreApplication::processEvents();
        QCOMPARE(log.painted.size(), 61);
        log.painted.clear();

        const QSet<QObject*> changed{&form.Degit(5), &form.Degit(20), &form.Degit(61)};
        for (int n = 1; n <= 61; ++n)
            form.setFare(n, changed.contains(&form.Degit(n)) ? 999 : 100 + n);
        QCoreApplication::processEvents();
        QCOMPARE(log.painted, changed);
    }

    void labelsOnThePanel() {
        Q57App program;
        program.start();
        Form1& form = program.form();
        const QFont numbered = form.lblSeiriNum(1).font();
        QVERIFY(numbered.bold());
        // Asked for by its IPA name, the face is the one its Windows name maps to.
        QCOMPARE(QFontInfo(numbered).family().toLower(),
                 QFontInfo(QFont(QStringLiteral("ＭＳ Ｐゴシック"))).family().toLower());

        mdlQ57_000::SeirikenNumSet(form, 6, 0);
        QVERIFY(form.lblSeiriNum(1).font().pixelSize() < numbered.pixelSize());

        mdlQ57_000::SeirikenNumSet(form, 3, 1);
        mdlQ57_000::SeirikenNumSet(form, -1, 0);
        QCOMPARE(form.lblSeiriNum(1).text(), QStringLiteral("な し"));
        QCOMPARE(form.lblSeiriNum(1).font().pixelSize(), numbered.pixelSize());
        QCOMPARE(form.lblSeiriNum(2).text(), QStringLiteral("０２"));
        // Position 61 stands alone under 60.
        QCOMPARE(form.lblSeiriNum(61).x(), form.lblSeiriNum(60).x());
        QVERIFY(form.lblSeiriNum(61).y() > form.lblSeiriNum(60).y());
        QCOMPARE(form.Degit(61).x(), form.Degit(60).x());
        QVERIFY(form.Degit(61).y() > form.Degit(60).y());

        // Printable ASCII to its full-width form, to its last character; a blank to the wide one.
        QCOMPARE(SeirikenLabels::toFullWidth(QStringLiteral("!0 ~")),
                 QStringLiteral("！０\u3000～"));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_Form1.moc"
