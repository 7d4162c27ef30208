#include "QtJapanese.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace QtJapanese {

void install(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

} // namespace QtJapanese
