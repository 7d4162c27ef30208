#include "MsgBox.h"

#include "platform/ExecutableName.h"

#include <QFileInfo>

QMessageBox::StandardButton showMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           const QString& objectName, const QString& detail) {
    if (MessageBoxHook* hook = ScopedHook<MessageBoxHook>::current()) {
        hook->asked_.append({icon, caption, text, buttons, objectName, detail});
        if (hook->whileShown)
            hook->whileShown();
        const QMessageBox::StandardButton answer =
            hook->answers_.isEmpty() ? QMessageBox::NoButton : hook->answers_.takeFirst();
        if (answer != QMessageBox::NoButton && !buttons.testFlag(answer))
            qFatal("a message box was answered with a button it does not have");
        return answer;
    }
    QMessageBox box(icon, caption, text, buttons, owner);
    if (!objectName.isEmpty())
        box.setObjectName(objectName);
    box.setInformativeText(detail);
    return QMessageBox::StandardButton(box.exec());
}

QString fileDetail(const QString& path) {
    return QStringLiteral("ファイル：") + QFileInfo(path).absoluteFilePath();
}

void MsgBox(QWidget* owner, const QString& prompt, const QString& detail) {
    showMessageBox(owner, QMessageBox::NoIcon, executableName(), prompt, QMessageBox::Ok, QString(),
                   detail);
}

void MessageBoxHook::setNextAnswer(QMessageBox::StandardButton answer) {
    answers_.append(answer);
}
