#include "DigitSettingsDialog.h"

#include "platform/OkCancelButtons.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const char* const kZeroModeTexts[] = {
    "0：0 は表示しない（空白）",
    "1：0 を表示する",
    "2：-1 を 0 と表示し、0 は表示しない",
    "3：-1 と 0 を 0 と表示する",
};

} // namespace

DigitSettingsDialog::DigitSettingsDialog(QWidget* owner, int keta, int zeroMode, int shift,
                                         int fillZero)
    : QDialog(owner), zeroModeGroup_(new QButtonGroup(this)), shiftBox_(new QSpinBox),
      fillZeroBox_(new QSpinBox), originalZeroMode_(zeroMode) {
    setWindowTitle(QStringLiteral("桁表示の設定"));
    setModal(true);

    auto* zeroBox = new QGroupBox(QStringLiteral("ゼロの表示"));
    auto* zeroLayout = new QVBoxLayout(zeroBox);
    for (int mode = 0; mode < 4; ++mode) {
        auto* button = new QRadioButton(QString::fromUtf8(kZeroModeTexts[mode]));
        button->setObjectName(QStringLiteral("zeroMode%1").arg(mode));
        zeroModeGroup_->addButton(button, mode);
        zeroLayout->addWidget(button);
        button->setChecked(mode == zeroMode);
    }

    shiftBox_->setObjectName(QStringLiteral("shift"));
    shiftBox_->setRange(0, qMax(0, keta - 1));
    shiftBox_->setValue(shift);
    fillZeroBox_->setObjectName(QStringLiteral("fillZero"));
    fillZeroBox_->setRange(0, qMax(0, keta));
    fillZeroBox_->setValue(fillZero);

    auto* numbers = new QFormLayout;
    numbers->addRow(QStringLiteral("左へずらす桁数："), shiftBox_);
    numbers->addRow(QStringLiteral("ゼロで埋める桁数："), fillZeroBox_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(zeroBox);
    layout->addLayout(numbers);
    layout->addWidget(okCancelButtons(*this));
}

int DigitSettingsDialog::zeroMode() const {
    // A stored mode outside 0-3 checks no button; it survives unless the user picks one.
    const int checked = zeroModeGroup_->checkedId();
    return checked >= 0 ? checked : originalZeroMode_;
}

int DigitSettingsDialog::shift() const {
    return shiftBox_->value();
}

int DigitSettingsDialog::fillZero() const {
    return fillZeroBox_->value();
}
