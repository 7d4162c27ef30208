#pragma once

#include <QString>
#include <QStringList>

// How a stop name is cut into 16 x 16 cells and where the cells go on the strip's canvas.
namespace ChimeiLayout {

constexpr int kCellPitch = 32;    // canvas pixels per cell: 16 dots, one every second pixel
constexpr int kStillHeight = 192; // the canvas of a name that fits the strip
constexpr int kMaxStillCells = 6;
constexpr int kCellLeft = 2;

// The most cells the strip lays out of one name. Real stop names take a few dozen cells, but a
// fare data file can hold a name of 32767, whose canvas would be a million pixels high and take
// seconds to draw. Longer names are cut here: the strip shows and scrolls their first 512 cells,
// a canvas of 37 x 16384 pixels (2.3 MiB) drawn in a few milliseconds.
constexpr int kMaxCells = 512;

// Cells of the name: its Shift-JIS byte count halved.
int cellCount(const QString& text);

// The name's two-byte groups in order (the last one of an odd byte count has one byte), up to
// the first group that decodes to nothing. A full-width character fills a cell; two half-width
// characters share one.
QStringList cellTexts(const QString& text);

// What the strip lays out: the cell count and the cell texts, both cut at kMaxCells. Only the
// start of the text that can hold those cells is read, so any text costs bounded work.
struct Cells {
    int count = 0;
    QStringList texts;
};
Cells shownCells(const QString& text);

struct Placement {
    int firstTop;
    int step;
};

// Top of the first cell and the step between cells; two-cell names spread wider unless Mode
// is 2. Names too long to stand still are laid one cell under the other.
Placement placement(int cells, int mode);

bool scrolls(int cells);
int canvasHeight(int cells);

} // namespace ChimeiLayout
