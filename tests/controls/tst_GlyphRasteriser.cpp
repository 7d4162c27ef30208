#include "controls/GlyphRasteriser.h"
#include "platform/JapaneseFonts.h"
#include "support/TestSupport.h"

#include <QtTest>

using namespace GlyphRasteriser;

namespace {

constexpr QRgb kDot = 0xFF00FF00;

// The cell as the strip would show it: which of its 16 x 16 dots are lit.
struct Dots {
    QImage canvas;
    bool lit(int sx, int sy) const { return canvas.pixel(2 * sx, 2 * sy) == kDot; }
    QRect bounds() const {
        QRect box;
        for (int sy = 0; sy < 16; ++sy)
            for (int sx = 0; sx < 16; ++sx)
                if (lit(sx, sy))
                    box |= QRect(sx, sy, 1, 1);
        return box;
    }
    int rowWidth(int sy) const {
        int count = 0;
        for (int sx = 0; sx < 16; ++sx)
            count += lit(sx, sy) ? 1 : 0;
        return count;
    }
    bool operator==(const Dots& other) const { return canvas == other.canvas; }
};

Dots dotsOf(QString text, int fontMode = 0, bool bold = false) {
    QImage canvas(32, 32, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    drawCell(canvas, 0, 0, text, {fontMode, bold, kDot});
    return {canvas};
}

} // namespace

class TestGlyphRasteriser : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { JapaneseFonts::registerSubstitutions(); }

    void faceFollowsFontModeAndSignedCode() {
        QCOMPARE(ansiCode(QStringLiteral("亜")), qint16(0x889F));
        QCOMPARE(ansiCode(QStringLiteral("AB")), qint16('A'));
        QCOMPARE(ansiCode(QStringLiteral("ｱ")), qint16(0xB1));
        struct Case {
            const char* text;
            int fontMode;
            const QString& face;
        };
        const Case cases[] = {
            {"漢", 0, kGothic}, {"あ", 0, kGothic}, {"漢", 7, kGothic}, {"漢", -1, kGothic},
            {"漢", 1, kMincho}, {"A", 1, kMincho},  {"亜", 2, kGothic}, {"A", 2, kGothic},
            {"ｱ", 2, kGothic},  {"弌", 2, kGothic}, {"あ", 2, kMincho}, {"Ａ", 2, kMincho},
            {"漢", 3, kMincho}, {"A", 3, kMincho},  {"あ", 3, kGothic}, {"０", 4, kGothic},
            {"ｚ", 4, kGothic}, {"Ａ", 4, kGothic}, {"あ", 4, kMincho}, {"９", 4, kGothic},
            {"漢", 4, kMincho}, {"A", 4, kMincho},  {"ﾟ", 4, kMincho},
        };
        for (const Case& c : cases)
            QVERIFY2(faceFor(QString::fromUtf8(c.text), c.fontMode) == c.face, c.text);

        // The cells are drawn in those faces.
        const QString kanji = QStringLiteral("駅"), kana = QStringLiteral("あ");
        const QString letter = QStringLiteral("Ａ");
        for (const QString& text : {kanji, kana, letter})
            QVERIFY(!(dotsOf(text, 0) == dotsOf(text, 1)));
        QVERIFY(dotsOf(kanji, 3) == dotsOf(kanji, 1));
        QVERIFY(dotsOf(kana, 3) == dotsOf(kana, 0));
        QVERIFY(dotsOf(letter, 4) == dotsOf(letter, 0));
        QVERIFY(dotsOf(kanji, 4) == dotsOf(kanji, 1));

        // Anti-aliasing off: the buffer holds pure black and white only, whatever the face.
        for (const QString& face : {kGothic, kMincho}) {
            for (bool bold : {false, true}) {
                const QImage glyph = renderGlyph(QStringLiteral("漢あ"), face, bold, {});
                const int black = TestSupport::countColour(glyph, Qt::black);
                QCOMPARE(glyph.size(), QSize(16, 16));
                QCOMPARE(black + TestSupport::countColour(glyph, Qt::white), 16 * 16);
                QVERIFY(black > 20);
            }
        }
    }

    void drawnShapes() {
        // One dot on every second pixel, the rest of the cell untouched.
        QImage canvas(40, 40, QImage::Format_RGB32);
        canvas.fill(Qt::black);
        QString kanji = QStringLiteral("漢");
        drawCell(canvas, 3, 5, kanji, {0, false, kDot});
        int dots = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                if (canvas.pixel(x, y) != kDot)
                    continue;
                ++dots;
                QVERIFY((x - 3) % 2 == 0 && (y - 5) % 2 == 0 && x >= 3 && y >= 5);
            }
        }
        QVERIFY(dots > 20);

        const Dots stroke = dotsOf(QStringLiteral("ー"));
        QVERIFY(stroke == dotsOf(QStringLiteral("丨")));
        QVERIFY(stroke.bounds().height() >= 12 && stroke.bounds().width() <= 2);

        // Turned on its side, pointing down: a one-dot shaft above, the widest row (the head)
        // near the bottom.
        const Dots arrow = dotsOf(QStringLiteral("→"));
        const QRect box = arrow.bounds();
        QVERIFY(box.height() > box.width());
        QCOMPARE(arrow.rowWidth(box.top() + 1), 1);
        int widest = box.top();
        for (int sy = box.top(); sy <= box.bottom(); ++sy)
            widest = arrow.rowWidth(sy) > arrow.rowWidth(widest) ? sy : widest;
        QVERIFY(widest > box.center().y());

        // Stops and commas move to the top right.
        for (const char* text : {"。", "、"}) {
            const QRect stop = dotsOf(QString::fromUtf8(text)).bounds();
            QVERIFY(!stop.isEmpty() && stop.left() >= 8 && stop.bottom() < 8);
        }

        const Dots letters = dotsOf(QStringLiteral("AB"));
        QVERIFY(letters.bounds().left() < 8 && letters.bounds().right() >= 8);
        QVERIFY(dotsOf(QStringLiteral("A")).bounds().right() < 8);

        QVERIFY(dotsOf(kanji, 0, true).bounds().isValid());
        QVERIFY(!(dotsOf(kanji, 0, true) == dotsOf(kanji, 0, false)));

        // Two kanji are nudged a dot in some modes; signs turn only alone in their cell.
        for (const char* text : {"申", "山"}) {
            for (int mode = 0; mode <= 4; ++mode) {
                QString cell = QString::fromUtf8(text);
                QCOMPARE(adjust(cell, mode).dx, mode == 0 || mode == 2 ? 1 : 0);
            }
        }
        QString pair = QStringLiteral("（A");
        QVERIFY(!adjust(pair, 0).rotate);
    }
};

QTEST_MAIN(TestGlyphRasteriser)
#include "tst_GlyphRasteriser.moc"
