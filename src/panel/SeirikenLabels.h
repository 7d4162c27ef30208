#pragma once

#include <QString>
#include <array>
#include <optional>

class RuntimeError;

// The ticket-number captions above the 61 fare positions for each of the twelve numbering
// styles (the order of the style list in the options dialog).
namespace SeirikenLabels {

constexpr int kStyleCount = 12;

struct Plan {
    // Point size of position 1's font: 11 for numbered styles, 10 where it shows a word.
    double firstPointSize = 11;
    // Caption per position 1..61; an empty optional leaves that caption as it was.
    std::array<std::optional<QString>, 62> captions;
};

Plan plan(int style, bool zeroPad);

// ASCII characters in their full-width forms ("12" -> "１２").
QString toFullWidth(const QString& text);

// The style's item in the options dialog's list: its first numbers, then its last number.
QString styleName(int style);

// The text of the box that reports a failure while the captions are written.
QString errorText(const RuntimeError& error);

} // namespace SeirikenLabels
