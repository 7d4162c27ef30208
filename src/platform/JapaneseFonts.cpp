#include "JapaneseFonts.h"

#include <QFont>
#include <QString>

namespace JapaneseFonts {

void registerSubstitutions() {
    struct Mapping {
        const char* windowsName;
        const char* ipaName;
    };
    static const Mapping mappings[] = {
        {"ＭＳ ゴシック", "IPAGothic"},    {"MS Gothic", "IPAGothic"},
        {"ＭＳ 明朝", "IPAMincho"},        {"MS Mincho", "IPAMincho"},
        {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},
    };
    for (const Mapping& mapping : mappings)
        QFont::insertSubstitution(QString::fromUtf8(mapping.windowsName),
                                  QString::fromUtf8(mapping.ipaName));
}

} // namespace JapaneseFonts
