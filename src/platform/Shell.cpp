#include "Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace Shell {

void openFolder(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace Shell
