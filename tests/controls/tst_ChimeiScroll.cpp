#include "controls/ChimeiScroll.h"

#include <QTest>

namespace {

// A canvas of seven cells under a viewport of six.
constexpr int kCanvas = 224;
constexpr int kViewport = 192;

} // namespace

class tst_ChimeiScroll : public QObject {
    Q_OBJECT
private slots:
    void passesPauseAndWrap() {
        ChimeiScroll scroll;
        int speed = 0;
        int wait = 1500;
        const auto at = [&](qint64 now) {
            scroll.advanceTo(now, speed, wait, kCanvas, kViewport);
            return scroll.top();
        };
        scroll.start(0, kViewport, wait);
        QVERIFY(scroll.running());
        QCOMPARE(scroll.pauseLeft(0), 1500);
        QCOMPARE(at(1499), kViewport);
        QCOMPARE(speed, 0);
        // Speed 0 becomes 1 when the pass begins: 200 turns of a millisecond make a pixel.
        QCOMPARE(at(1500), kViewport);
        QCOMPARE(speed, 1);
        QCOMPARE(scroll.pauseLeft(1500), 0);
        QCOMPARE(at(3500), 182);
        // Speed 5: an eighth of a pixel a turn, shown rounded.
        speed = 5;
        QCOMPARE(at(3600), 180);
        QCOMPARE(at(4600), 155);
        // Speed 200, a pixel a turn: the canvas wraps once its bottom is a viewport's height
        // above the top, and pauses at the bottom edge again.
        speed = 200;
        const qint64 leave = 4600 + 155 + kCanvas + kViewport;
        QCOMPARE(at(leave - 1), -415);
        QCOMPARE(at(leave), kViewport);
        QCOMPARE(scroll.pauseLeft(leave), 1500);
        // A new pause takes effect at the next wrap.
        wait = 700;
        QCOMPARE(at(leave + 1499), kViewport);
        QCOMPARE(at(leave + 1510), 182);
        // Turns missed while the program was busy are caught up, wraps included.
        QCOMPARE(at(leave + 1500 + 608 + 700 + 50), 142);

        // Stopped, nothing moves; started again, the pause comes first.
        scroll.stop();
        QCOMPARE(at(leave + 5000), 142);
        scroll.start(10000, kViewport, wait);
        QCOMPARE(at(10699), kViewport);
        QCOMPARE(at(10710), 182);
    }

    // The wait the strip's timer is armed with is exactly the time to the next moved pixel:
    // through the pause and half a pixel to the first rounded move, then a pixel's turns.
    void nextMoveIsTheTurnThatMovesAPixel() {
        ChimeiScroll scroll;
        const int wait = 1500;
        scroll.start(0, kViewport, wait);
        qint64 now = 0;
        const struct {
            int speed;
            qint64 next;
        } moves[] = {{1, 1500 + 101}, {1, 200}, {1, 200}, {5, 40}, {5, 40}};
        for (const auto& move : moves) {
            const int before = scroll.top();
            const qint64 next = scroll.nextMoveIn(now, move.speed, wait, kCanvas, kViewport);
            QCOMPARE(next, move.next);
            int speed = move.speed;
            scroll.advanceTo(now + next - 1, speed, wait, kCanvas, kViewport);
            QCOMPARE(scroll.top(), before);
            scroll.advanceTo(now + next, speed, wait, kCanvas, kViewport);
            QCOMPARE(scroll.top(), before - 1);
            now += next;
        }
    }
};

QTEST_GUILESS_MAIN(tst_ChimeiScroll)
#include "tst_ChimeiScroll.moc"
