#include "Nw7.h"

namespace Nw7 {

namespace {

struct Character {
    char16_t symbol;
    const char* wide; // bar, space, bar, space, bar, space, bar: 1 = wide
};

constexpr Character kCharacters[] = {
    {u'0', "0000011"}, {u'1', "0000110"}, {u'2', "0001001"}, {u'3', "1100000"}, {u'4', "0010010"},
    {u'5', "1000010"}, {u'6', "0100001"}, {u'7', "0100100"}, {u'8', "0110000"}, {u'9', "1001000"},
    {u'-', "0001100"}, {u'$', "0011000"}, {u':', "1000101"}, {u'/', "1010001"}, {u'.', "1010100"},
    {u'+', "0010101"}, {u'A', "0011010"}, {u'B', "0101001"}, {u'C', "0001011"}, {u'D', "0001110"},
};

const Character* find(QChar c) {
    for (const Character& character : kCharacters)
        if (character.symbol == c.unicode())
            return &character;
    return nullptr;
}

bool isStartStop(QChar c) {
    return c >= u'A' && c <= u'D';
}

} // namespace

std::vector<bool> modules(QStringView data) {
    if (data.size() < 2 || !isStartStop(data.front()) || !isStartStop(data.back()))
        return {};
    std::vector<bool> result;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const Character* character = find(data[i]);
        if (!character || (i > 0 && i + 1 < data.size() && isStartStop(data[i])))
            return {};
        if (i > 0)
            result.push_back(false);
        for (int element = 0; element < 7; ++element)
            result.insert(result.end(), character->wide[element] == '1' ? kWide : 1,
                          element % 2 == 0);
    }
    return result;
}

} // namespace Nw7
