#pragma once

class QString;
class QWidget;

// A plain message with an OK button and no icon, captioned with the program's name.
void MsgBox(QWidget* owner, const QString& prompt);
