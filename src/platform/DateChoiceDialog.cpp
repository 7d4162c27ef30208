#include "DateChoiceDialog.h"

#include "platform/OkCancelButtons.h"

#include <QCalendarWidget>
#include <QVBoxLayout>

DateChoiceDialog::DateChoiceDialog(QWidget* owner)
    : QDialog(owner), calendar_(new QCalendarWidget) {
    setWindowTitle(QStringLiteral("日付の選択"));
    setModal(true);
    calendar_->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar_->setSelectedDate(QDate::currentDate());
    // A double-click on a day chooses it, as in most calendars.
    connect(calendar_, &QCalendarWidget::activated, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(calendar_);
    layout->addWidget(okCancelButtons(*this));
}

QDate DateChoiceDialog::selectedDate() const {
    return calendar_->selectedDate();
}
