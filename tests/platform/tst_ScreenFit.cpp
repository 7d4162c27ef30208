#include "platform/ScreenFit.h"

#include <QtTest>

using ScreenFit::Fit;

namespace {

const QRect primary(0, 0, 1920, 1040);
const QRect rightOfIt(1920, 0, 1280, 720);
const QRect leftOfIt(-1280, 0, 1280, 1024);
const QRect aboveIt(0, -1080, 1920, 1080);

QPoint place(QPoint at, const QList<QRect>& screens, Fit fit = Fit::Reachable,
             QSize size = {600, 400}) {
    return ScreenFit::place(QRect(at, size), screens, fit);
}

} // namespace

class TestScreenFit : public QObject {
    Q_OBJECT
private slots:
    void storedPositionsOffEveryScreenComeBack() {
        const QList<QRect> one{primary};
        // Reachable: left to the pixel, even partly off the edge.
        QCOMPARE(place({100, 100}, one), QPoint(100, 100));
        // Exactly 120 pixels of the strip is enough; 119 is not.
        QCOMPARE(place({1800, 100}, one), QPoint(1800, 100));
        QCOMPARE(place({1801, 100}, one), QPoint(1320, 100));
        QCOMPARE(place({-450, 900}, one), QPoint(-450, 900));
        // Too little of the top strip shows, or its top is cut: whole on the screen.
        QCOMPARE(place({1850, 100}, one), QPoint(1320, 100));
        QCOMPARE(place({100, -10}, one), QPoint(100, 0));
        QCOMPARE(place({-1000, -500}, one), QPoint(0, 0));
        QCOMPARE(place({100, 1030}, one), QPoint(100, 640));
        // A window larger than the screen shows its top left corner.
        QCOMPARE(place({5000, 5000}, one, Fit::Reachable, {2000, 1200}), QPoint(0, 0));

        // A second monitor: on it, or across both, nothing moves; once it is gone, back onto
        // the one left.
        const QList<QRect> two{primary, rightOfIt};
        QCOMPARE(place({2500, 300}, two), QPoint(2500, 300));
        QCOMPARE(place({1900, 100}, two), QPoint(1900, 100));
        QCOMPARE(place({2500, 300}, one), QPoint(1320, 300));
        // Below the smaller monitor lies no screen: the nearest one is the primary.
        QCOMPARE(place({2000, 900}, two), QPoint(1320, 640));
        // Monitors left of and above the primary have negative coordinates.
        QCOMPARE(place({-1000, 200}, {primary, leftOfIt}), QPoint(-1000, 200));
        QCOMPARE(place({-3000, 200}, {primary, leftOfIt}), QPoint(-1280, 200));
        QCOMPARE(place({100, -2000}, {primary, aboveIt}), QPoint(100, -1080));
        QCOMPARE(place({-9000, 9000}, {}), QPoint(-9000, 9000));

        // Whole: on the screen it covers most.
        QCOMPARE(place({100, 100}, two, Fit::Whole, {900, 500}), QPoint(100, 100));
        QCOMPARE(place({1500, 700}, two, Fit::Whole, {900, 500}), QPoint(1020, 540));
        QCOMPARE(place({1800, 100}, two, Fit::Whole, {900, 500}), QPoint(1920, 100));
        QCOMPARE(place({-50, -20}, two, Fit::Whole, {900, 500}), QPoint(0, 0));
    }

    // A window manager that framed the window after it was moved put the frame 1 left and 20 up
    // of where it was asked: only the window's own part off the screen moves it, and then by
    // what brings that part on, so the position kept stays the one asked.
    void aWindowManagersOffsetNeverMovesTheWindow() {
        const QList<QRect> one{primary};
        const QPoint offset(-1, -20);
        const QSize wide(594, 354);
        QCOMPARE(ScreenFit::place(QRect({0, -19}, wide), one, Fit::Whole, offset), QPoint(0, -19));
        QCOMPARE(ScreenFit::place(QRect({-1, -20}, wide), one, Fit::Reachable, offset),
                 QPoint(-1, -20));
        QCOMPARE(ScreenFit::place(QRect({-51, -20}, wide), one, Fit::Whole, offset),
                 QPoint(-1, -20));
        QCOMPARE(ScreenFit::place(QRect({1500, 900}, wide), one, Fit::Whole, offset),
                 QPoint(1325, 666));
    }
};

QTEST_GUILESS_MAIN(TestScreenFit)
#include "tst_ScreenFit.moc"
