// A stop name cut into cells, for any name (see FuzzSupport::textOf): every group fits one cell,
// there are no more groups than the name's two-byte groups, and a name whose double-byte
// characters all begin a group is cut into exactly its characters.

#include "FuzzSupport.h"
#include "controls/ChimeiLayout.h"

#include <QStringList>

using FuzzSupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString name = FuzzSupport::textOf(FuzzSupport::bytesOf(data, size));
    const int length = ShiftJis::lenB(name);
    const int groupCount = ChimeiLayout::cellCount(name) + length % 2;
    const QStringList groups = ChimeiLayout::cellTexts(name);
    check(groups.size() <= groupCount, "no more groups than the name's two-byte groups");
    for (const QString& group : groups)
        check(!group.isEmpty() && ShiftJis::lenB(group) <= 2, "every group fits one cell");

    const QString stored = ShiftJis::decode(ShiftJis::encode(name));
    bool aligned = true;
    int position = 0;
    for (const int width : FuzzSupport::characterBytes(stored)) {
        aligned = aligned && (width == 1 || position % 2 == 0);
        position += width;
    }
    if (aligned)
        check(groups.size() == groupCount && groups.join(QString()) == stored,
              "a name with no character across two groups is cut into all of it");
    return 0;
}
