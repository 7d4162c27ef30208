#include "controls/ChimeiCtl_B.h"
#include "controls/ChimeiLayout.h"
#include "controls/ChimeiScroll.h"
#include "controls/DegitFormat.h"
#include "controls/GlyphRasteriser.h"
#include "controls/M_Degit.h"
#include "controls/SegmentFont.h"
#include "platform/JapaneseFonts.h"
#include "platform/ShiftJis.h"
#include "support/TestSupport.h"

#include <QPainter>
#include <QtTest>

using namespace GlyphRasteriser;

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

const QColor kStripLit(255, 190, 0);
// A canvas of seven cells under a viewport of six.
constexpr int kCanvas = 224;
constexpr int kViewport = 192;
const QString kSquare = QStringLiteral("■");

// Rows of the strip with a lit dot, gathered into blocks: one block per drawn cell.
struct LitRows {
    QList<int> blockTops;
    int first = -1;
    int last = -1;
};

LitRows litRows(ChimeiCtl_B& strip) {
    const QImage shown = TestSupport::grabbed(strip);
    LitRows rows;
    for (int y = 0; y < shown.height(); ++y) {
        bool lit = false;
        for (int x = 0; x < shown.width() && !lit; ++x)
            lit = shown.pixelColor(x, y) == kStripLit;
        if (!lit)
            continue;
        // The dots of a cell are two pixels apart; a wider gap starts a new cell.
        if (rows.last < 0 || y - rows.last > 2)
            rows.blockTops.append(y);
        rows.first = rows.first < 0 ? y : rows.first;
        rows.last = y;
    }
    return rows;
}

// The cells as the strip first cut them, every group read again from the whole text.
QStringList cellTextsByMidB(const QString& text) {
    QStringList cells;
    for (int k = 1;; ++k) {
        const QString group = ShiftJis::midB(text, 2 * k - 1, 2);
        if (group.isEmpty())
            return cells;
        cells.append(group);
    }
}

constexpr QRgb kDot = 0xFF00FF00;

// The cell as the strip would draw it, its 16 x 16 dots on every second pixel.
QImage dotsOf(QString text, int fontMode = 0, bool bold = false) {
    QImage canvas(32, 32, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    drawCell(canvas, 0, 0, text, {fontMode, bold, kDot});
    return canvas;
}

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

    void initTestCase() { JapaneseFonts::registerSubstitutions(); }

    void faceFollowsFontModeAndSignedCode() {
        QCOMPARE(ansiCode(QStringLiteral("亜")), qint16(0x889F));
        QCOMPARE(ansiCode(QStringLiteral("AB")), qint16('A'));
        QCOMPARE(ansiCode(QStringLiteral("ｱ")), qint16(0xB1));
        // By mode, the characters drawn in each face.
        const struct {
            int fontMode;
            const char *gothic, *mincho;
        } faces[] = {{0, "漢あ", ""},          {7, "漢", ""},         {-1, "漢", ""},
                     {1, "", "漢A"},           {2, "亜Aｱ弌", "あＡ"}, {3, "あ", "漢A"},
                     {4, "０ｚＡ９", "あ漢Aﾟ"}};
        for (const auto& mode : faces) {
            for (const QString& face : {kGothic, kMincho}) {
                for (QChar c : QString::fromUtf8(face == kGothic ? mode.gothic : mode.mincho))
                    QVERIFY2(faceFor(c, mode.fontMode) == face, qPrintable(QString(c)));
            }
        }

        // The cells are drawn in those faces.
        const QString kanji = QStringLiteral("駅");
        QVERIFY(dotsOf(kanji, 0) != dotsOf(kanji, 1));
        QVERIFY(dotsOf(kanji, 3) == dotsOf(kanji, 1));
        QVERIFY(dotsOf(QStringLiteral("あ"), 3) == dotsOf(QStringLiteral("あ"), 0));
        QVERIFY(dotsOf(kanji, 0, true) != dotsOf(kanji, 0, false));

        // Anti-aliasing off: the buffer holds pure black and white only, whatever the face.
        for (const QString& face : {kGothic, kMincho}) {
            for (bool bold : {false, true}) {
                const QImage glyph = renderGlyph(QStringLiteral("漢あ"), face, bold, {});
                const int black = TestSupport::countColour(glyph, Qt::black);
                QCOMPARE(black + TestSupport::countColour(glyph, Qt::white), 16 * 16);
                QVERIFY(black > 20);
            }
        }
    }

    void stillNamesAreSpreadOverTheStrip() {
        QVERIFY(ChimeiLayout::cellTexts(QString()).isEmpty());
        // Two half-width characters to a cell, odd byte counts, cut double-byte characters (ｂ@
        // leaves the pair 82 40, which decodes to nothing and ends the name), half-width kana,
        // characters Shift-JIS lacks, and a name longer than the strip lays out.
        const QString tricky[] = {"ABCD",   "A",          "A駅B",
                                  "Aｂ@駅", "ﾊﾞｽ停〜−é😀", QString("A駅ｱ前").repeated(600)};
        for (const QString& text : tricky) {
            const QStringList before = cellTextsByMidB(text);
            QCOMPARE(ChimeiLayout::cellTexts(text), before);
            QCOMPARE(ChimeiLayout::cellCount(text), ShiftJis::lenB(text) / 2);
            const ChimeiLayout::Cells shown = ChimeiLayout::shownCells(text);
            QCOMPARE(shown.count, std::min(ShiftJis::lenB(text) / 2, ChimeiLayout::kMaxCells));
            QCOMPARE(shown.texts, before.mid(0, ChimeiLayout::kMaxCells));
        }
        ChimeiCtl_B strip;
        strip.ReadProperties({.Appearance = 0});

        // The square's first lit row lies a fixed distance below its cell's top.
        strip.SetChimei(kSquare);
        const int inset = litRows(strip).first - 80;
        QVERIFY(inset >= 0 && inset < 8);
        struct Case {
            int cells, mode;
            QList<int> tops;
        };
        const Case cases[] = {{1, 2, {80}},
                              {2, 1, {32, 128}},
                              {2, 2, {48, 112}},
                              {3, 2, {16, 80, 144}},
                              {4, 0, {8, 56, 104, 152}},
                              {5, 2, {4, 42, 80, 118, 156}},
                              {6, 2, {0, 32, 64, 96, 128, 160}}};
        for (const Case& c : cases) {
            strip.setMode(c.mode);
            strip.SetChimei(kSquare.repeated(c.cells));
            QList<int> tops = litRows(strip).blockTops;
            for (int& top : tops)
                top -= inset;
            QCOMPARE(tops, c.tops);
            QVERIFY(!strip.scrolling());
        }

        strip.SetChimei(QStringLiteral("ABCD"));
        QCOMPARE(litRows(strip).blockTops.size(), 2);
        // A name shown again is free of what was drawn over it since, in today's colours.
        QString extra = kSquare;
        strip.DrawDot16(2, 0, extra);
        strip.SetChimei(kSquare);
        strip.SetChimei(QStringLiteral("ABCD"));
        QCOMPARE(litRows(strip).blockTops.size(), 2);
        strip.setForeColor(0x0000FF);
        strip.SetChimei(QStringLiteral("ABCD"));
        QVERIFY(TestSupport::countColour(strip.canvas(), Qt::red) > 0 && litRows(strip).first < 0);
        strip.setForeColor(0x00BEFF);

        strip.SetChimei(QString());
        QCOMPARE(strip.canvasTop(), 0);
        QCOMPARE(TestSupport::countColour(TestSupport::grabbed(strip), kStripLit), 0);
    }

    void longNamesScrollWithAPauseAndWrap() {
        ChimeiCtl_B strip;
        strip.ReadProperties({.Appearance = 0});
        qint64 now = 0;
        strip.setClock([&now] { return now; });
        const auto at = [&](qint64 milliseconds) {
            now = milliseconds;
            strip.scrollTick();
        };
        strip.SetChimei(kSquare);
        const int inset = litRows(strip).first - 80;

        strip.setSpeed(0);
        strip.SetChimei(kSquare.repeated(7));
        QCOMPARE(strip.canvas().height(), 224);
        QVERIFY(strip.scrolling());
        at(1500);
        // Moving, it wakes just when the canvas moves a whole pixel: every 200 ms at speed 1.
        const int firstWait = strip.scrollTimer().interval();
        at(1500 + firstWait - 1);
        QCOMPARE(strip.canvasTop(), 192);
        at(1500 + firstWait);
        QCOMPARE(strip.canvasTop(), 191);
        QCOMPARE(strip.scrollTimer().interval(), 200);
        at(1500 + 2000);

        // The canvas is drawn where the scroll stands, and wraps by its own height.
        strip.setSpeed(5);
        at(3500 + 1100);
        QCOMPARE(strip.canvasTop(), 155);
        const LitRows entering = litRows(strip);
        QCOMPARE(entering.first, 155 + inset);
        QCOMPARE(entering.blockTops.size(), 2);
        // At speed 5 it wakes every 40 ms.
        while (strip.canvasTop() == 155)
            at(now + 1);
        QCOMPARE(strip.scrollTimer().interval(), 40);
        strip.setSpeed(200);
        const qint64 leave = now + strip.canvasTop() + 224 + 192;
        at(leave);
        QCOMPARE(strip.canvasTop(), 192);

        // An empty name blanks the strip but the scroll goes on with the empty canvas.
        strip.SetChimei(QString());
        QCOMPARE(strip.canvasTop(), 0);
        QCOMPARE(litRows(strip).first, -1);
        QVERIFY(strip.scrolling());
        QVERIFY(!strip.scrollTimer().isActive());
        at(leave + 1500 + 2);
        QCOMPARE(strip.canvasTop(), 190);
        QVERIFY(!strip.scrollTimer().isActive());

        // A new name ends the scroll; nothing runs while a still name is shown.
        strip.SetChimei(kSquare.repeated(2));
        QVERIFY(!strip.scrolling());
        QVERIFY(!strip.scrollTimer().isActive());
        QCOMPARE(strip.canvasTop(), 0);
        at(now + 1000);
        QCOMPARE(strip.canvasTop(), 0);

        // The longest name a file holds (65535 bytes) is cut to the cells laid out, drawn to
        // the last one.
        strip.SetChimei(kSquare.repeated(32767) + u'A');
        const QImage canvas = strip.canvas();
        QCOMPARE(canvas.height(), ChimeiLayout::kCellPitch * ChimeiLayout::kMaxCells);
        QVERIFY(TestSupport::countColour(canvas.copy(0, canvas.height() - 32, 37, 32), kStripLit) >
                0);
        QVERIFY(strip.scrolling());
    }

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
        // Speed 5: a pixel every 40 turns, shown rounded.
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
    }
};

QTEST_MAIN(TestM_Degit)
#include "tst_M_Degit.moc"
