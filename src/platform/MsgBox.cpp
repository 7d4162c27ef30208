#include "MsgBox.h"

#include "platform/ExecutableName.h"

namespace {

MessageBoxHook* installedHook = nullptr;

} // namespace

QMessageBox::StandardButton showMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           const QString& objectName) {
    if (MessageBoxHook* hook = installedHook) {
        hook->asked_.append({icon, caption, text, buttons, objectName});
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
    return QMessageBox::StandardButton(box.exec());
}

void MsgBox(QWidget* owner, const QString& prompt) {
    showMessageBox(owner, QMessageBox::NoIcon, executableName(), prompt, QMessageBox::Ok);
}

MessageBoxHook::MessageBoxHook() {
    if (installedHook != nullptr)
        qFatal("a message box hook is already installed");
    installedHook = this;
}

MessageBoxHook::~MessageBoxHook() {
    installedHook = nullptr;
}

void MessageBoxHook::setNextAnswer(QMessageBox::StandardButton answer) {
    answers_.append(answer);
}
