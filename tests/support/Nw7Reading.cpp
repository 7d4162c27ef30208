#include "Nw7Reading.h"

#include <QImage>
#include <algorithm>
#include <map>

namespace TestSupport {

// The symbology's own table, written out independently of the encoder's: n narrow, w wide,
// bar first.
QString decodeNw7(const std::vector<bool>& row) {
    static const std::map<QString, QChar> table{
        {"nnnnnww", '0'}, {"nnnnwwn", '1'}, {"nnnwnnw", '2'}, {"wwnnnnn", '3'}, {"nnwnnwn", '4'},
        {"wnnnnwn", '5'}, {"nwnnnnw", '6'}, {"nwnnwnn", '7'}, {"nwwnnnn", '8'}, {"wnnwnnn", '9'},
        {"nnnwwnn", '-'}, {"nnwwnnn", '$'}, {"wnnnwnw", ':'}, {"wnwnnnw", '/'}, {"wnwnwnn", '.'},
        {"nnwnwnw", '+'}, {"nnwwnwn", 'A'}, {"nwnwnnw", 'B'}, {"nnnwnww", 'C'}, {"nnnwwwn", 'D'},
    };
    const auto first = std::find(row.begin(), row.end(), true);
    const auto last = std::find(row.rbegin(), row.rend(), true).base();
    std::vector<int> runs;
    for (auto it = first; it < last;) {
        const auto end = std::find(it, last, !*it);
        runs.push_back(int(end - it));
        it = end;
    }
    if (runs.empty() || runs.size() % 8 != 7)
        return {};
    const auto [narrowest, widest] = std::minmax_element(runs.begin(), runs.end());
    QString text;
    for (std::size_t start = 0; start < runs.size(); start += 8) {
        QString pattern;
        for (std::size_t i = start; i < start + 7; ++i)
            pattern += 2 * runs[i] > *narrowest + *widest ? u'w' : u'n';
        const auto found = table.find(pattern);
        if (found == table.end() ||
            (start + 7 < runs.size() && 2 * runs[start + 7] > *narrowest + *widest))
            return {};
        text += found->second;
    }
    return text;
}

std::vector<bool> darkPixels(const QImage& image, int y, int left, int right) {
    std::vector<bool> row;
    for (int x = left; x < right; ++x)
        row.push_back(qGray(image.pixel(x, y)) < 128);
    return row;
}

} // namespace TestSupport
