#include "ExecutableName.h"

#include <QCoreApplication>
#include <QFileInfo>

QString executableName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}
