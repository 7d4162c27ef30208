#pragma once

#include <QImage>
#include <QString>

// One character cell of a stop name turned into LED dots: the cell text is drawn at 16 x 16
// pixels without anti-aliasing, and every exactly black pixel becomes one dot on a 2-pixel grid.
// Because the strip writes vertically, a few characters are first adjusted.
namespace GlyphRasteriser {

constexpr int kGlyphSize = 16;

inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kMincho = QStringLiteral("ＭＳ 明朝");

// Where and how the glyph goes into the buffer.
struct Adjustment {
    int dx = 0;
    int dy = 0;
    bool rotate = false; // mirrored about the main diagonal
};

// Code page 932 code of the first character; a double-byte code is a signed 16-bit number, so
// every single-byte code ranks above every double-byte code.
qint16 ansiCode(const QString& text);

// Face for the cell by the strip's font mode (any mode outside 1..4 acts as 0).
QString faceFor(const QString& text, int fontMode);

// The vertical-writing adjustment of the cell; the long-vowel mark is replaced in the text.
Adjustment adjust(QString& text, int fontMode);

// A white 16 x 16 buffer with the text drawn black at the adjustment's offset.
QImage renderGlyph(const QString& text, const QString& face, bool bold, const Adjustment& at);

struct CellStyle {
    int fontMode = 0;
    bool bold = false;
    QRgb foreColour = 0;
};

// Renders the cell's dots ahead of its first drawing, so that drawing it later renders nothing.
void prepareCell(QString text, const CellStyle& style);

// Draws the cell with its top-left dot at (x, y) of the canvas (Format_RGB32); dots outside
// the canvas are dropped. An empty text draws nothing.
void drawCell(QImage& canvas, int x, int y, QString& text, const CellStyle& style);

} // namespace GlyphRasteriser
