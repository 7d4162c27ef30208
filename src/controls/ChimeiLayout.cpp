#include "ChimeiLayout.h"

#include "platform/ShiftJis.h"

#include <algorithm>

namespace ChimeiLayout {

int cellCount(const QString& text) {
    return ShiftJis::lenB(text) / 2;
}

QStringList cellTexts(const QString& text) {
    const QByteArray bytes = ShiftJis::encode(text);
    QStringList cells;
    for (qsizetype start = 0; start < bytes.size(); start += 2) {
        const QString group = ShiftJis::decode(bytes.mid(start, 2));
        if (group.isEmpty())
            break;
        cells.append(group);
    }
    return cells;
}

Cells shownCells(const QString& text) {
    // Every UTF-16 unit takes at least one byte, except that a surrogate pair takes one for both
    // (and a high surrogate at the very end none): these units give at least 2 * kMaxCells bytes.
    const QString start = text.left(4 * kMaxCells + 2);
    return {std::min(cellCount(start), kMaxCells), cellTexts(start).mid(0, kMaxCells)};
}

Placement placement(int cells, int mode) {
    switch (cells) {
    case 0:
        return {0, 0};
    case 1:
        return {80, 0};
    case 2:
        return mode == 2 ? Placement{48, 64} : Placement{32, 96};
    case 3:
        return {16, 64};
    case 4:
        return {8, 48};
    case 5:
        return {4, 38};
    default:
        return {0, kCellPitch};
    }
}

bool scrolls(int cells) {
    return cells > kMaxStillCells;
}

int canvasHeight(int cells) {
    return scrolls(cells) ? kCellPitch * cells : kStillHeight;
}

} // namespace ChimeiLayout
