#pragma once

#include <QDialog>

class QButtonGroup;
class QSpinBox;

// Edits how a seven-segment display formats its value: zero substitution, shift, zero fill.
class DigitSettingsDialog : public QDialog {
    Q_OBJECT
public:
    DigitSettingsDialog(QWidget* owner, int keta, int zeroMode, int shift, int fillZero);

    int zeroMode() const;
    int shift() const;
    int fillZero() const;

private:
    QButtonGroup* zeroModeGroup_;
    QSpinBox* shiftBox_;
    QSpinBox* fillZeroBox_;
    int originalZeroMode_;
};
