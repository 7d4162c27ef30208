#pragma once

#include <QDialogButtonBox>

class QDialog;

// "OK" and "キャンセル" for one of our dialogs, accepting and rejecting it.
QDialogButtonBox* okCancelButtons(QDialog& dialog);
