#include "ChimeiLayout.h"

#include "platform/ShiftJis.h"

#include <QHash>
#include <algorithm>

namespace ChimeiLayout {

namespace {

// The two-byte groups of the name as cut from its Shift-JIS bytes. A group's text is decoded
// once: the same characters come back in name after name.
QStringList groupsOf(const QByteArray& bytes) {
    static QHash<quint32, QString> decoded;
    QStringList cells;
    for (qsizetype start = 0; start < bytes.size(); start += 2) {
        const QByteArray piece = bytes.mid(start, 2);
        const quint32 key = piece.size() == 2 ? quint32(quint8(piece[0]) << 8 | quint8(piece[1]))
                                              : quint32(0x10000 | quint8(piece[0]));
        auto found = decoded.constFind(key);
        if (found == decoded.constEnd()) {
            constexpr qsizetype kMostKept = 8192;
            if (decoded.size() >= kMostKept)
                decoded.clear();
            found = decoded.insert(key, ShiftJis::decode(piece));
        }
        if (found->isEmpty())
            break;
        cells.append(*found);
    }
    return cells;
}

} // namespace

int cellCount(const QString& text) {
    return ShiftJis::lenB(text) / 2;
}

QStringList cellTexts(const QString& text) {
    return groupsOf(ShiftJis::encode(text));
}

Cells shownCells(const QString& text) {
    // Every UTF-16 unit takes at least one byte, except that a surrogate pair takes one for both
    // (and a high surrogate at the very end none): these units give at least 2 * kMaxCells bytes.
    const QByteArray bytes = ShiftJis::encode(text.left(4 * kMaxCells + 2));
    return {std::min(int(bytes.size() / 2), kMaxCells), groupsOf(bytes.left(2 * kMaxCells))};
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
