#include "controls/SegmentFont.h"
#include "support/TestSupport.h"

#include <QPainter>
#include <QtTest>

namespace {

const QColor kInk(248, 210, 114);
const QString kFaces[3] = {QStringLiteral("M_DegitA"), QStringLiteral("M_DegitB"),
                           QStringLiteral("M_DegitC")};
const int kPointSizes[4] = {18, 24, 27, 14};
const QSize kCells[4] = {{13, 20}, {17, 26}, {19, 29}, {11, 15}};

// The text drawn as the control draws it (one pixel above the top), with blank cells around.
QImage render(const SegmentFont& font, const QString& text, int cellsBefore = 0,
              int cellsAfter = 0) {
    QImage image((int(text.size()) + cellsBefore + cellsAfter) * font.advance(), font.height(),
                 QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter painter(&image);
    font.draw(painter, cellsBefore * font.advance(), -1, text, kInk);
    return image;
}

} // namespace

class TestSegmentFont : public QObject {
    Q_OBJECT
private slots:
    void everyGlyphReadsAsItselfInsideItsCell() {
        const QString text = QStringLiteral("0123456789- x");
        for (const QString& face : kFaces) {
            for (int i = 0; i < 4; ++i) {
                for (bool bold : {false, true}) {
                    const SegmentFont font(face, kPointSizes[i], bold);
                    QCOMPARE(QSize(font.advance(), font.height()), kCells[i]);
                    QCOMPARE(font.horizontalAdvance(text), int(text.size()) * kCells[i].width());
                    QCOMPARE(TestSupport::readSegments(render(font, text), font.advance(),
                                                       font.height(), kInk),
                             QStringLiteral("0123456789-  "));
                }
            }
        }
    }
};

QTEST_MAIN(TestSegmentFont)
#include "tst_SegmentFont.moc"
