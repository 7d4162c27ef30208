#include "ChimeiLayout.h"

#include "platform/ShiftJis.h"

namespace ChimeiLayout {

int cellCount(const QString& text) {
    return ShiftJis::lenB(text) / 2;
}

QStringList cellTexts(const QString& text) {
    QStringList cells;
    for (int k = 1;; ++k) {
        const QString group = ShiftJis::midB(text, 2 * k - 1, 2);
        if (group.isEmpty())
            return cells;
        cells.append(group);
    }
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
