#pragma once

#include <QColor>
#include <QImage>
#include <QString>

class QPainter;

// The seven-segment faces "M_DegitA", "M_DegitB" and "M_DegitC", drawn by code. Every character
// has the same advance; the digits, the minus sign and the space have glyphs, anything else
// draws nothing but still takes its cell. "8" lights all seven segments.
class SegmentFont {
public:
    enum class Style {
        Bevelled, // "M_DegitA": classic hexagonal segments
        Narrow,   // "M_DegitB": thin, square-ended segments of an LED fare unit
        Slanted,  // "M_DegitC": bevelled segments leaning to the right
    };

    // An unknown face name falls back to "M_DegitA", as a missing font would.
    SegmentFont(const QString& faceName, int pointSize, bool bold);

    Style style() const { return style_; }
    int advance() const { return advance_; }
    int height() const { return height_; }
    int horizontalAdvance(const QString& text) const;
    // The rows that a glyph drawn at y = 0 may cover, from inkTop up to but not including
    // inkBottom: two texts in the same colours differ only within them.
    int inkTop() const { return box().top; }
    int inkBottom() const { return box().bottom; }

    // Draws text with the top-left corner of its first cell at (x, y), without anti-aliasing so
    // that a segment is either exactly the colour or untouched.
    void draw(QPainter& painter, int x, int y, const QString& text, const QColor& colour) const;

private:
    // Where a glyph's bars lie in its cell, on whole pixels, and their thickness.
    struct Box {
        int left, right, top, bottom, middle, thickness;
    };
    Box box() const;
    void drawGlyph(QPainter& painter, int x, int y, unsigned segments) const;
    // The glyph in one opaque colour on transparency, drawn once and kept: blitting it is far
    // cheaper than the dozens of pixel rows it is made of.
    const QImage& glyphPicture(unsigned segments, QRgb colour) const;

    Style style_;
    bool bold_;
    int advance_;
    int height_;
};
