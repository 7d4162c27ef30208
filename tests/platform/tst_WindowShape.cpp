#include "platform/WindowShape.h"

#include <QtTest>

class TestWindowShape : public QObject {
    Q_OBJECT
private slots:
    void cutsExactlyTheFourCornerPixels() {
        const QRegion shape = WindowShape::roundRect2x2(2, 2, 28, 25);
        QCOMPARE(shape.boundingRect(), QRect(2, 2, 26, 23));
        for (QPoint corner : {QPoint(2, 2), QPoint(27, 2), QPoint(2, 24), QPoint(27, 24)})
            QVERIFY2(!shape.contains(corner), "corner pixel must be cut");
        int area = 0;
        for (const QRect& rect : shape)
            area += rect.width() * rect.height();
        QCOMPARE(area, 26 * 23 - 4);
    }
};

QTEST_GUILESS_MAIN(TestWindowShape)
#include "tst_WindowShape.moc"
