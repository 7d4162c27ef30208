#include "JapaneseFonts.h"

#include "platform/JapaneseFaces.h"

#include <QString>

namespace JapaneseFonts {

namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

} // namespace

void registerSubstitutions() {
    for (const JapaneseFaces::Face& face : JapaneseFaces::kFaces)
        QFont::insertSubstitution(text(face.windowsName), text(face.ipaName));
}

QFont face(const QString& windowsName) {
    for (const JapaneseFaces::Face& face : JapaneseFaces::kFaces)
        if (text(face.windowsName) == windowsName)
            return QFont(text(face.ipaName));
    return QFont(windowsName);
}

} // namespace JapaneseFonts
