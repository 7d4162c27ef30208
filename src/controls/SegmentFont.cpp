#include "SegmentFont.h"

#include <QHash>
#include <QPainter>
#include <cmath>

namespace {

// Segment bits: a top, b upper right, c lower right, d bottom, e lower left, f upper left, g
// middle.
enum : unsigned { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

unsigned segmentsOf(QChar ch) {
    static const unsigned digits[10] = {
        A | B | C | D | E | F, B | C,         A | B | G | E | D,
        A | B | G | C | D,     F | G | B | C, A | F | G | C | D,
        A | F | G | E | D | C, A | B | C,     A | B | C | D | E | F | G,
        A | B | C | D | F | G,
    };
    if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
        return digits[ch.unicode() - '0'];
    if (ch == QLatin1Char('-'))
        return G;
    return 0;
}

struct CellSize {
    int pointSize;
    int advance;
    int height;
};

// The face sizes the seven-segment control uses, with their exact cells in pixels.
constexpr CellSize kCellSizes[] = {{18, 13, 20}, {24, 17, 26}, {27, 19, 29}, {14, 11, 15}};

int scaled(double value) {
    return int(std::lround(value));
}

// A glyph may reach a little outside its cell (the slant, the row above the top); its picture
// has this margin on every side.
constexpr int kGlyphMargin = 4;

struct GlyphKey {
    int style;
    int advance;
    int height;
    bool bold;
    unsigned segments;
    QRgb colour;
    bool operator==(const GlyphKey&) const = default;
};

size_t qHash(const GlyphKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.style, key.advance, key.height, key.bold, key.segments, key.colour);
}

} // namespace

SegmentFont::SegmentFont(const QString& faceName, int pointSize, bool bold) : bold_(bold) {
    if (faceName == QLatin1String("M_DegitB"))
        style_ = Style::Narrow;
    else if (faceName == QLatin1String("M_DegitC"))
        style_ = Style::Slanted;
    else
        style_ = Style::Bevelled;

    advance_ = qMax(1, scaled(pointSize * 13.0 / 18.0));
    height_ = qMax(1, scaled(pointSize * 20.0 / 18.0));
    for (const CellSize& size : kCellSizes) {
        if (size.pointSize == pointSize) {
            advance_ = size.advance;
            height_ = size.height;
        }
    }
}

int SegmentFont::horizontalAdvance(const QString& text) const {
    return int(text.size()) * advance_;
}

void SegmentFont::draw(QPainter& painter, int x, int y, const QString& text,
                       const QColor& colour) const {
    if (colour.alpha() == 255) {
        // Opaque ink: a kept picture copies exactly the pixels the rows would have filled.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const unsigned segments = segmentsOf(text.at(i));
            if (segments != 0)
                painter.drawImage(x + int(i) * advance_ - kGlyphMargin, y - kGlyphMargin,
                                  glyphPicture(segments, colour.rgba()));
        }
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const unsigned segments = segmentsOf(text.at(i));
        if (segments != 0)
            drawGlyph(painter, x + int(i) * advance_, y, segments);
    }
    painter.restore();
}

const QImage& SegmentFont::glyphPicture(unsigned segments, QRgb colour) const {
    // Per thread, so that a renderer drawing off the window thread needs no lock.
    thread_local QHash<GlyphKey, QImage> pictures;
    const GlyphKey key{int(style_), advance_, height_, bold_, segments, colour};
    auto found = pictures.find(key);
    if (found != pictures.end())
        return *found;
    // Each colour set keeps a dozen glyphs per face; a user trying many colours only starts over.
    constexpr qsizetype kMostKept = 512;
    if (pictures.size() >= kMostKept)
        pictures.clear();
    QImage picture(advance_ + 2 * kGlyphMargin, height_ + 2 * kGlyphMargin,
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(colour));
    drawGlyph(painter, kGlyphMargin, kGlyphMargin, segments);
    painter.end();
    return *pictures.insert(key, picture);
}

SegmentFont::Box SegmentFont::box() const {
    // Everything is laid out on whole pixels so that small cells stay crisp: bars of thickness t,
    // corners left to neither bar.
    const int w = advance_;
    const int h = height_;
    const bool slanted = style_ == Style::Slanted;
    const int regular = style_ == Style::Narrow ? 1 : qMax(1, scaled(w * 0.16));
    const int t = regular + (bold_ ? 1 : 0);

    // The control draws its text one pixel above its top edge; the glyph box is one pixel low in
    // its cell so that it sits evenly inside the control.
    const int margin = scaled(w * 0.12);
    const int top = scaled(h * 0.1) + 1;
    int bottom = h - scaled(h * 0.1) + 1;
    bottom -= (bottom - top - t) % 2; // the two vertical bars of a side get the same length
    return {margin - (slanted ? 1 : 0),
            w - margin - (slanted ? 1 : 0),
            top,
            bottom,
            top + (bottom - top - t) / 2,
            t};
}

void SegmentFont::drawGlyph(QPainter& painter, int x, int y, unsigned segments) const {
    // For the bevelled faces each pixel row (or column) of a bar reaches as far into the corners
    // as its distance from the bar's edges allows.
    const bool narrow = style_ == Style::Narrow;
    const Box box = this->box();
    const int left = box.left, right = box.right, top = box.top, bottom = box.bottom;
    const int middle = box.middle, t = box.thickness;
    const double lean = style_ == Style::Slanted ? 2.0 / qMax(1, bottom - top - 1) : 0.0;

    auto reach = [&](int k) { return narrow ? 0 : qMin(k, t - 1 - k); };
    auto span = [&](int row, int from, int to) {
        const int offset = scaled(lean * (bottom - 1 - row));
        painter.fillRect(x + from + offset, y + row, to - from, 1, painter.brush());
    };
    auto horizontal = [&](int firstRow) {
        for (int k = 0; k < t; ++k)
            span(firstRow + k, left + t - reach(k), right - t + reach(k));
    };
    auto vertical = [&](int firstColumn, int fromRow, int toRow) {
        for (int row = fromRow - t + 1; row < toRow + t - 1; ++row) {
            for (int k = 0; k < t; ++k) {
                if (row >= fromRow - reach(k) && row < toRow + reach(k))
                    span(row, firstColumn + k, firstColumn + k + 1);
            }
        }
    };

    if (segments & A)
        horizontal(top);
    if (segments & G)
        horizontal(middle);
    if (segments & D)
        horizontal(bottom - t);
    if (segments & F)
        vertical(left, top + t, middle);
    if (segments & B)
        vertical(right - t, top + t, middle);
    if (segments & E)
        vertical(left, middle + t, bottom - t);
    if (segments & C)
        vertical(right - t, middle + t, bottom - t);
}
