#include "MsgBox.h"

#include "platform/ExecutableName.h"

#include <QMessageBox>

void MsgBox(QWidget* owner, const QString& prompt) {
    QMessageBox box(QMessageBox::NoIcon, executableName(), prompt, QMessageBox::Ok, owner);
    box.exec();
}
