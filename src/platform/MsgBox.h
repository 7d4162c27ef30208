#pragma once

#include "platform/ScopedHook.h"

#include <QList>
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// The one way the program shows a message box: modal to owner, with the icon, caption, text and
// buttons given, and the object name when one is given. The detail, when given, goes under the
// text: our own lines naming the files and folders concerned, apart from a text that may be
// fixed word for word. Returns the button that closed it.
QMessageBox::StandardButton showMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           const QString& objectName = QString(),
                                           const QString& detail = QString());

// The detail of a message about one file: "ファイル：" and the file's absolute path.
QString fileDetail(const QString& path);

// A plain message with an OK button and no icon, captioned with the program's name.
void MsgBox(QWidget* owner, const QString& prompt, const QString& detail = QString());

// For tests: while one lives, no message box is shown. Every box asked for is kept in asked(),
// and the call returns at once the next answer given to setNextAnswer (one of the box's buttons),
// or NoButton (closed without a choice) when none is left.
class MessageBoxHook {
public:
    struct Asked {
        QMessageBox::Icon icon;
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
        QString objectName;
        QString detail;
        bool operator==(const Asked&) const = default;
    };

    static constexpr const char* kHookName = "message box hook";

    void setNextAnswer(QMessageBox::StandardButton answer);
    const QList<Asked>& asked() const { return asked_; }

    // Runs as each box is asked for, at the moment it would be on screen.
    std::function<void()> whileShown;

private:
    friend QMessageBox::StandardButton showMessageBox(QWidget*, QMessageBox::Icon, const QString&,
                                                      const QString&, QMessageBox::StandardButtons,
                                                      const QString&, const QString&);
    QList<QMessageBox::StandardButton> answers_;
    QList<Asked> asked_;
    ScopedHook<MessageBoxHook> installed_{*this};
};
