#include "controls/ChimeiCtl_B.h"
#include "controls/ChimeiLayout.h"
#include "controls/ChimeiScroll.h"
#include "controls/GlyphRasteriser.h"
#include "platform/JapaneseFonts.h"
#include "platform/ShiftJis.h"
#include "support/TestSupport.h"

#include <QtTest>

using namespace GlyphRasteriser;

namespace {

const QColor kLit(255, 190, 0);
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
            lit = shown.pixelColor(x, y) == kLit;
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

class TestChimeiCtl_B : public QObject {
    Q_OBJECT
private slots:
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

        strip.SetChimei(QString());
        QCOMPARE(strip.canvasTop(), 0);
        QCOMPARE(TestSupport::countColour(TestSupport::grabbed(strip), kLit), 0);
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
        QVERIFY(TestSupport::countColour(canvas.copy(0, canvas.height() - 32, 37, 32), kLit) > 0);
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

QTEST_MAIN(TestChimeiCtl_B)
#include "tst_ChimeiCtl_B.moc"
