#include "WrapRadioButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

WrapRadioButton::WrapRadioButton(const QString& text, QWidget* parent)
    : QRadioButton(text, parent) {}

void WrapRadioButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_RadioButton, option);
    const QRect contents = style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
    style()->drawItemText(&painter, contents, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                          palette(), isEnabled(), text(), QPalette::WindowText);
}

bool WrapRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}
