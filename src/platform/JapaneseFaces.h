#pragma once

#include <array>
#include <string_view>

// The Windows names of the Japanese faces the program knows, with the IPA face fontconfig has
// for each. Files name faces by the Windows names; JapaneseFonts maps them when the program
// starts.
namespace JapaneseFaces {

struct Face {
    std::string_view windowsName; // UTF-8
    std::string_view ipaName;
};

inline constexpr std::array<Face, 6> kFaces{{
    {"ＭＳ ゴシック", "IPAGothic"},
    {"MS Gothic", "IPAGothic"},
    {"ＭＳ 明朝", "IPAMincho"},
    {"MS Mincho", "IPAMincho"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"MS PGothic", "IPAPGothic"},
}};

} // namespace JapaneseFaces
