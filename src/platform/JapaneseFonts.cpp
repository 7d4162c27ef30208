#include "JapaneseFonts.h"

#include "platform/JapaneseFaces.h"

#include <QFont>
#include <QString>

namespace JapaneseFonts {

void registerSubstitutions() {
    for (const JapaneseFaces::Face& face : JapaneseFaces::kFaces)
        QFont::insertSubstitution(
            QString::fromUtf8(face.windowsName.data(), qsizetype(face.windowsName.size())),
            QString::fromUtf8(face.ipaName.data(), qsizetype(face.ipaName.size())));
}

} // namespace JapaneseFonts
