#include "controls/DegitFormat.h"
#include "controls/M_Degit.h"
#include "controls/SegmentFont.h"
#include "support/TestSupport.h"

#include <QPainter>
#include <QtTest>

namespace {

const QColor kUnlit(150, 150, 150);
const QColor kLit(248, 210, 114);
const QString kFaces[3] = {QStringLiteral("M_DegitA"), QStringLiteral("M_DegitB"),
                           QStringLiteral("M_DegitC")};
const int kPointSizes[4] = {18, 24, 27, 14};
const QSize kCells[4] = {{13, 20}, {17, 26}, {19, 29}, {11, 15}};

// The text drawn as the control draws it, one pixel above the top.
QImage render(const SegmentFont& font, const QString& text) {
    QImage image(int(text.size()) * font.advance(), font.height(), QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter painter(&image);
    font.draw(painter, 0, -1, text, kLit);
    return image;
}

// The parts of a widget that were repainted, in its own pixels.
class PaintedParts : public QObject {
public:
    explicit PaintedParts(QWidget& widget) { widget.installEventFilter(this); }
    QRegion parts;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            parts += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

} // namespace

class TestM_Degit : public QObject {
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
                                                       font.height(), kLit),
                             QStringLiteral("0123456789-  "));
                }
            }
        }
    }

    void setterCorrections() {
        M_Degit digit;
        QCOMPARE(digit.size(), QSize(52, 20));
        auto stored = [&](void (M_Degit::*set)(int), int (M_Degit::*get)() const, int value) {
            (digit.*set)(value);
            return (digit.*get)();
        };
        QCOMPARE(stored(&M_Degit::setFillZero, &M_Degit::FillZero, 9), 4);
        QCOMPARE(stored(&M_Degit::setShift, &M_Degit::Shift, 9), 3);
        QCOMPARE(stored(&M_Degit::setShift, &M_Degit::Shift, -2), 0);
        QCOMPARE(stored(&M_Degit::setZeroMode, &M_Degit::ZeroMode, 4), 0);
        QCOMPARE(stored(&M_Degit::setZeroMode, &M_Degit::ZeroMode, -1), -1);
    }

    // Each rule reaches the drawing, right-aligned over unlit eights, read from the screen.
    void lightsTheValueRightAlignedOverUnlitEights() {
        struct Case {
            int zeroMode, fillZero, shift;
            QVariant value;
            const char* lit;
        };
        const Case cases[] = {{0, 3, 0, -1, "-001"}, {1, 0, 0, 0, "   0"}, {0, 2, 1, 7, " 07 "}};
        for (const Case& c : cases) {
            M_Degit digit;
            digit.setDegitStyle(1);
            digit.setZeroMode(c.zeroMode);
            digit.setFillZero(c.fillZero);
            digit.setShift(c.shift);
            digit.setValue(c.value);
            const QString lit = TestSupport::segmentsOf(digit, kLit);
            QCOMPARE(lit, QString::fromUtf8(c.lit));
            const QString unlit = TestSupport::segmentsOf(digit, kUnlit);
            for (int i = 0; i < 4; ++i) {
                if (lit.at(i) == QLatin1Char(' '))
                    QCOMPARE(unlit.at(i), QLatin1Char('8'));
            }
        }
    }

    void coloursAndResetRedrawWithTheRules() {
        M_Degit digit;
        digit.setValue(7);
        digit.setFillZero(3);
        digit.setDegitForeColor(0x00FF00);
        QCOMPARE(TestSupport::segmentsOf(digit, Qt::green), QStringLiteral(" 007"));

        // A reset draws eights or a blank with the rules off, and keeps them for later.
        M_Degit reset;
        reset.setKeta(3);
        reset.setShift(1);
        reset.setZeroMode(2);
        reset.setFillZero(2);

        reset.ResetDegit(true);
        QCOMPARE(reset.Value(), QVariant(QStringLiteral("888")));
        QCOMPARE(TestSupport::segmentsOf(reset, kLit), QStringLiteral("888"));
        reset.ResetDegit(false);
        QCOMPARE(reset.Value(), QVariant(QString()));
        QCOMPARE(TestSupport::segmentsOf(reset, kLit), QStringLiteral("   "));

        // The blank stays until something redraws; then the rules apply again.
        reset.setValue(5);
        QCOMPARE(TestSupport::segmentsOf(reset, kLit), QStringLiteral("05 "));
    }

    // Zero substitution, zero fill and shift, and what of it fits the digits.
    void visibleTextByTheRules() {
        struct Case {
            int zeroMode, fillZero, shift;
            QVariant value;
            const char* shown;
            int keta = 4;
        };
        const QVariant empty = QString();
        const Case cases[] = {
            {0, 0, 0, 180, "180"},     {0, 0, 0, 180.0, "180"}, {0, 0, 0, "12345", "2345"},
            {0, 0, 0, 123456, "3456"}, {0, 0, 0, 0, ""},        {0, 0, 0, empty, ""},
            {0, 0, 0, -1, "-1"},       {0, 0, 0, 1.5, "1.5"},   {1, 0, 0, 0, "0"},
            {1, 0, 0, empty, "0"},     {1, 0, 0, -1, "-1"},     {2, 0, 0, -1, "0"},
            {2, 0, 0, 0, ""},          {2, 0, 0, empty, ""},    {3, 0, 0, -1, "0"},
            {3, 0, 0, empty, "0"},     {3, 0, 0, 5, "5"},       {-2, 0, 0, 0, "0"},
            {0, 3, 0, 7, "007"},       {0, 3, 0, -1, "-001"},   {0, 3, 0, 0, ""},
            {1, 3, 0, 0, "000"},       {0, 3, 0, " 12", "012"}, {0, 3, 0, "AB", "AB"},
            {0, 3, 0, 2.5, "003"},     {0, 3, 0, 1234, "1234"}, {0, 0, 1, 5, "5 "},
            {0, 2, 1, 7, "07 "},       {0, 0, 3, 1234, "4   "}, {0, 0, 0, 180, "80", 2},
            {0, 0, 0, 180, "", 0},
        };
        for (const Case& c : cases) {
            const DegitFormat::Rules rules{c.zeroMode, c.fillZero, c.shift, c.keta};
            QCOMPARE(DegitFormat::visibleText(c.value, rules), QString::fromUtf8(c.shown));
        }
    }

    // On screen a new value repaints only the cell that changed, at every scale, and the screen
    // then holds the new picture, each pixel a block.
    void repaintsOnlyWhatChanged() {
        for (int scale : {1, 3}) {
            M_Degit digit;
            digit.setScale(scale);
            digit.setValue(170);
            digit.show();
            QVERIFY(QTest::qWaitForWindowExposed(&digit));
            QCoreApplication::processEvents();
            PaintedParts painted(digit);
            digit.setValue(180);
            QCoreApplication::processEvents();
            const QRect cell(2 * 13 * scale, 0, 13 * scale, 20 * scale);
            QVERIFY(!painted.parts.isEmpty());
            QVERIFY(cell.contains(painted.parts.boundingRect()));
            const QImage screen = digit.screen()
                                      ->grabWindow(digit.winId())
                                      .toImage()
                                      .convertToFormat(QImage::Format_RGB32);
            M_Degit fresh;
            fresh.setValue(180);
            const QImage one = TestSupport::grabbed(fresh);
            QCOMPARE(screen,
                     one.scaled(one.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        }
    }
};

QTEST_MAIN(TestM_Degit)
#include "tst_M_Degit.moc"
