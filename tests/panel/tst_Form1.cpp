#include "Q57App.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "platform/WindowShape.h"
#include "settings/IniData.h"
#include "support/TestSupport.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

namespace {

const QColor kUnlit(150, 150, 150);
const QColor kLit(248, 210, 114);

QString segments(M_Degit& digit, const QColor& colour) {
    return TestSupport::readSegments(TestSupport::grabbed(digit), 13, 20, colour);
}

std::unique_ptr<TestSupport::ModalAnswer> answerDialog(int fillZero, int zeroMode, bool confirm,
                                                       std::function<void()> whileOpen = {}) {
    return std::make_unique<TestSupport::ModalAnswer>([=](QWidget* dialog) {
        if (whileOpen)
            whileOpen();
        dialog->findChild<QSpinBox*>(QStringLiteral("fillZero"))->setValue(fillZero);
        dialog->findChild<QRadioButton*>(QStringLiteral("zeroMode%1").arg(zeroMode))->click();
        dialog->findChild<QDialogButtonBox*>()
            ->button(confirm ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
            ->click();
    });
}

void sendMouse(QWidget& target, QEvent::Type type, QPoint local, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(local), QPointF(target.mapToGlobal(local)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

void drag(QWidget& target, QPoint from, QPoint to, Qt::MouseButton button) {
    sendMouse(target, QEvent::MouseButtonPress, from, button, button);
    sendMouse(target, QEvent::MouseMove, to, Qt::NoButton, button);
    sendMouse(target, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void loadStepShowsABlankPanel() {
        Q57App program;
        Form1& form = program.form();
        form.move(200, 100);
        program.start();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QCOMPARE(form.pos(), QPoint(0, 0));
        QCOMPARE(form.size(), QSize(755, 307));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form.mask(), WindowShape::roundRect2x2(0, 0, 755, 307));
        QCOMPARE(form.Picture().size(), QSize(755, 307));
        QCOMPARE(form.imgRes(1), form.imgRes(0));
        QCOMPARE(form.imgRes(2), form.imgRes(0));

        const QImage shown = TestSupport::grabbed(form);
        QCOMPARE(TestSupport::countColour(shown, kLit), 0);
        QCOMPARE(shown.pixelColor(20, 150), form.Picture().pixelColor(20, 150));
        for (int n = 1; n <= 61; ++n) {
            M_Degit& digit = form.Degit(n);
            QCOMPARE(digit.DegitStyle(), 1);
            QCOMPARE(segments(digit, kUnlit), QStringLiteral("8888"));
            const QImage cell = shown.copy(QRect(digit.pos(), digit.size()));
            QCOMPARE(TestSupport::countColour(cell, kUnlit) +
                         TestSupport::countColour(cell, QColor(128, 128, 128)),
                     52 * 20);
            QLabel& label = form.lblSeiriNum(n);
            QVERIFY(label.isVisible());
            QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::white));
        }
        QCOMPARE(form.Degit(1).pos(), QPoint(149, 40));
        QCOMPARE(form.Degit(60).pos(), QPoint(668, 225));
        QCOMPARE(form.Degit(61).pos(), QPoint(668, 263));
        QCOMPARE(form.lblSeiriNum(15).geometry(), QRect(379, 63, 52, 16));
        QCOMPARE(form.lblSeiriNum(1).text(), QStringLiteral("１"));

        // White label text is drawn over the dark panel above position 1.
        QVERIFY(TestSupport::countColour(shown.copy(form.lblSeiriNum(1).geometry()), Qt::white) >
                0);

        QVERIFY(!form.Degit(0).isVisible());
        QVERIFY(!form.TimeDegit(0).isVisible());
        QVERIFY(!form.TimeDegit(1).isVisible());
        QVERIFY(!form.Timer1().isActive());
        QCOMPARE(form.Timer1().interval(), 1000);
    }

    void stopNameStripSitsLeftOfTheFares() {
        Q57App program;
        Form1& form = program.form();
        ChimeiCtl_B& strip = form.ChimeiCtl();
        QCOMPARE(strip.ForeColor(), 0x80C0FFu);
        program.start();
        QCOMPARE(strip.geometry(), QRect(60, 59, 35, 192));
        QCOMPARE(strip.Appearance(), 0);
        QCOMPARE(strip.viewportHeight(), 192);
        // The options dialog's colours replace the stored ones at start-up.
        strip.SetChimei(QStringLiteral("駅前"));
        const QImage shown = TestSupport::grabbed(form);
        QVERIFY(TestSupport::countColour(shown.copy(strip.geometry()), QColor(255, 255, 0)) > 0);
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

        bool operatingPanelLocked = false;
        auto answer = answerDialog(
            3, 1, true, [&] { operatingPanelLocked = !program.operatingPanel().isEnabled(); });
        QTest::mouseDClick(&form.Degit(3), Qt::LeftButton);
        QVERIFY(answer->answered());
        QVERIFY(operatingPanelLocked);
        QVERIFY(everyPositionHas(3, 1));
        QCOMPARE(segments(form.Degit(5), kLit), QStringLiteral(" 007"));
        QCOMPARE(segments(form.Degit(61), kLit), QStringLiteral(" 180"));
        // A blank position now shows its zero, so it was redrawn with the new rules.
        QCOMPARE(segments(form.Degit(1), kLit), QStringLiteral(" 000"));
        QCOMPARE(form.TimeDegit(0).FillZero(), 0);

        answer = answerDialog(1, 3, false);
        QTest::mouseDClick(&form.Degit(40), Qt::LeftButton);
        QVERIFY(answer->answered());
        QVERIFY(program.operatingPanel().isEnabled());
        QVERIFY(everyPositionHas(3, 1));
        QCOMPARE(segments(form.Degit(5), kLit), QStringLiteral(" 007"));

        form.Degit(7).setUserSet(false);
        answer = answerDialog(0, 0, true);
        QTest::mouseDClick(&form.Degit(7), Qt::LeftButton);
        QTest::qWait(50);
        QVERIFY(!answer->answered());
    }

    void clockShowsHoursAndMinutesWithoutLeadingZeros() {
        Q57App program;
        program.start();
        Form1& form = program.form();
        const std::pair<QTime, const char*> ticks[] = {{QTime(9, 5, 41), " 9 5"},
                                                       {QTime(10, 0), "10  "},
                                                       {QTime(0, 30), "  30"},
                                                       {QTime(23, 59, 59), "2359"}};
        for (const auto& [time, digits] : ticks) {
            form.ShowTime(time);
            QCOMPARE(segments(form.TimeDegit(0), kLit) + segments(form.TimeDegit(1), kLit),
                     QString::fromLatin1(digits));
        }
    }

    void leftDragOnTheFaceMovesTheWindow() {
        Q57App program;
        program.start();
        Form1& form = program.form();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.pos(), QPoint(0, 0));

        drag(form, {20, 150}, {60, 170}, Qt::LeftButton);
        QCOMPARE(form.pos(), QPoint(40, 20));

        drag(form, {20, 150}, {120, 250}, Qt::RightButton);
        QCOMPARE(form.pos(), QPoint(40, 20));

        // Presses on a label or a digit belong to them, not to the face.
        const QPoint onLabel = form.lblSeiriNum(1).geometry().center();
        drag(form, onLabel, onLabel + QPoint(30, 30), Qt::LeftButton);
        QCOMPARE(form.pos(), QPoint(40, 20));
        QTest::mousePress(&form.Degit(1), Qt::LeftButton);
        sendMouse(form, QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(form.pos(), QPoint(40, 20));

        // The settings file keeps the position in twips.
        IniRecord ini;
        form.GetFormInfo(ini);
        QCOMPARE(std::pair(ini.DispLeft, ini.DispTop), std::pair(600, 300));
        ini.DispLeft = 1500;
        ini.DispTop = 757;
        form.SetFormInfo(ini);
        QCOMPARE(form.pos(), QPoint(100, 50));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_Form1.moc"
