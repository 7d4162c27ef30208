#pragma once

#include <QStringView>
#include <vector>

// NW-7 (Codabar), the bar code of Japanese bus tickets. A symbol is a start character (A to D),
// data characters (0-9 - $ : / . +) and a stop character (A to D). Every character is four bars
// and three spaces, each narrow (one module) or wide (kWide modules), and characters are
// separated by a narrow space.
namespace Nw7 {

inline constexpr int kWide = 3;

// The symbol's modules from its first bar to its last, true for a bar; empty when the data is
// not a valid symbol (no start or stop character, or a character NW-7 lacks).
std::vector<bool> modules(QStringView data);

} // namespace Nw7
