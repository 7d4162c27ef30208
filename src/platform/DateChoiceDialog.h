#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;

// A calendar to pick one day from, opening on today.
class DateChoiceDialog : public QDialog {
    Q_OBJECT
public:
    explicit DateChoiceDialog(QWidget* owner);

    QDate selectedDate() const;

private:
    QCalendarWidget* calendar_;
};
