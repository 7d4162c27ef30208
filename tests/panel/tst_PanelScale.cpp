#include "Q57App.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "panel/PanelView.h"
#include "platform/KvRes.h"
#include "platform/OnScreen.h"
#include "support/TestSupport.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Each pixel repeated as a block, as the panel must show it.
QImage replicated(const QImage& image, int scale) {
    QImage big(image.size() * scale, QImage::Format_RGB32);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.setPixel(x, y, image.pixel(x / scale, y / scale));
    return big;
}

void trigger(Form1& form, const QString& name) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, {10, 10}, form.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&form, &event);
    QMenu* menu = form.findChild<QMenu*>(QStringLiteral("panelViewMenu"));
    QVERIFY(menu != nullptr && menu->isVisible());
    QAction* action = nullptr;
    for (QAction* candidate : menu->actions())
        if (candidate->objectName() == name)
            action = candidate;
    QVERIFY2(action != nullptr, qPrintable(name));
    action->trigger();
    menu->hide();
}

const QList<OnScreen::Screen> kScreens = {
    {QStringLiteral("LAPTOP"), {0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
    {QStringLiteral("TV"), {1920, 0, 1920, 1080}, {1920, 0, 1920, 1080}},
};

} // namespace

class TestPanelScale : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void viewFileAndFitRules() {
        PanelView view;
        view.scale = 3;
        view.fullScreen = true;
        view.screen = QStringLiteral("HDMI-1");
        view.background = 0x0000FF;
        QCOMPARE(PanelView::fromText(view.toText()), view);
        // A file damaged anywhere gives the defaults, not half of it.
        for (const char* damaged : {"scale=5\n", "scale=2\nfit=yes\n", "background=#12345\n",
                                    "scale=2\nzoom=3\n", "scale 2\n"})
            QCOMPARE(PanelView::fromText(damaged), PanelView());

        const QSize panel(755, 307);
        QCOMPARE(PanelView::fitScale({2265, 921}, panel), 3);
        QCOMPARE(PanelView::fitScale({2264, 2000}, panel), 2);
        QCOMPARE(PanelView::fitScale({7680, 4320}, panel), 4);
        QCOMPARE(PanelView::fitScale({640, 480}, panel), 1);
    }

    // Fares, labels and a strip caught mid-scroll: every pixel repeated as a block, and back.
    void enlargedPanelRepeatsEveryPixel() {
        Form1 form;
        form.show();
        for (int n = 1; n <= 61; ++n)
            form.setFare(n, 10 * n);
        ChimeiCtl_B& strip = form.ChimeiCtl();
        qint64 now = 100000;
        strip.setClock([&now] { return now; });
        strip.SetChimei(QStringLiteral("駅前バスターミナル北口"));
        now += 4000;
        strip.scrollTick();
        QVERIFY(strip.scrolling() && strip.canvasTop() != strip.viewportHeight());
        const QImage one = TestSupport::grabbed(form);
        QCOMPARE(one.size(), QSize(755, 307));
        for (int scale : {3, 2}) {
            form.setScale(scale);
            QCOMPARE(form.size(), QSize(755, 307) * scale);
            QCOMPARE(form.mask(), QTransform::fromScale(scale, scale)
                                      .map(QRegion(1, 0, 753, 307) + QRegion(0, 1, 755, 305)));
            QVERIFY2(TestSupport::grabbed(form) == replicated(one, scale),
                     qPrintable(QString::number(scale)));
        }
        form.setScale(1);
        QVERIFY(TestSupport::grabbed(form) == one);
    }

    void menuKeysAndScreensChooseTheView() {
        QTemporaryDir folder;
        const QString viewFile = folder.filePath(QStringLiteral("panel.ini"));
        OnScreen::ScreenHook screens(kScreens);
        {
            Q57App program({}, {}, viewFile);
            program.start();
            Form1& form = program.form();
            form.move(100, 50);
            trigger(form, QStringLiteral("scale3"));
            QCOMPARE(form.geometry(), QRect(100, 50, 2265, 921));
            // Fit: the largest scale the laptop's free area takes.
            trigger(form, QStringLiteral("scaleFit"));
            QCOMPARE(form.size(), QSize(1510, 614));

            form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            QTest::keyClick(&form, Qt::Key_Minus, Qt::ControlModifier);
            QCOMPARE(form.scale(), 1);
            QTest::keyClick(&form, Qt::Key_Equal, Qt::ControlModifier);
            QTest::keyClick(&form, Qt::Key_Plus, Qt::ControlModifier);
            QCOMPARE(form.scale(), 3);

            // A double-click opens the settings of the fare position under the pointer: only
            // position 20 may be set, so a dialog shows that it was hit.
            KvRes::ChoiceHook choices;
            choices.setNextDigitSettings(KvRes::ChoiceHook::DigitSettings{0, 1, 0});
            for (int n = 1; n <= 61; ++n)
                form.Degit(n).setUserSet(n == 20);
            const QPoint onePixel = form.Degit(20).geometry().center() / 3;
            QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, onePixel);
            QCOMPARE(choices.asked().size(), 0);
            QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, onePixel * 3);
            QCOMPARE(choices.asked().size(), 1);
            QCOMPARE(form.Degit(33).Shift(), 1);

            // The colour chooser speaks 0x00BBGGRR.
            choices.setNextColour(0x563412u);
            trigger(form, QStringLiteral("backgroundOther"));
            QCOMPARE(form.background(), QColor(0x12, 0x34, 0x56));
            trigger(form, QStringLiteral("backgroundGreen"));
            trigger(form, QStringLiteral("fullScreen:TV"));
            QVERIFY(form.panelFullScreen());
            QCOMPARE(form.geometry(), QRect(1920, 0, 1920, 1080));
            QCOMPARE(std::pair(form.scale(), form.origin()), std::pair(2, QPoint(205, 233)));
            const QImage shown = TestSupport::grabbed(form);
            // The panel's cut corner shows the background, the pixel beside it the panel.
            QCOMPARE(shown.pixelColor(205, 233), QColor(0, 255, 0));
            QCOMPARE(shown.pixelColor(207, 233), form.Picture().pixelColor(1, 0));
            IniRecord kept;
            form.GetFormInfo(kept);
            QCOMPARE(QPoint(kept.DispLeft, kept.DispTop), QPoint(100, 50) * 15);

            form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            QTest::keyClick(&form, Qt::Key_Escape);
            QCOMPARE(form.geometry(), QRect(100, 50, 2265, 921));
            QTest::keyClick(&form, Qt::Key_F11);
            QCOMPARE(form.geometry(), QRect(1920, 0, 1920, 1080));
        }
        // Kept for the next start, which shows it full screen again.
        Q57App program({}, {}, viewFile);
        program.start();
        Form1& form = program.form();
        QVERIFY(form.panelFullScreen());
        QCOMPARE(form.geometry(), QRect(1920, 0, 1920, 1080));
        QCOMPARE(form.background(), QColor(0, 255, 0));

        // Unplugged: a window again, at the scale chosen last, whole on the laptop.
        screens.remove(QStringLiteral("TV"));
        QVERIFY(!form.panelFullScreen());
        QCOMPARE(form.size(), QSize(2265, 921));
        QVERIFY(form.pos().x() < 1920);
    }
};

QTEST_MAIN(TestPanelScale)
#include "tst_PanelScale.moc"
