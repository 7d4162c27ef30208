#include "WrapPushButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

WrapPushButton::WrapPushButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void WrapPushButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QString caption = text();
    if (breakAfter_ > 0 && fontMetrics().horizontalAdvance(caption) > contents.width())
        caption.insert(breakAfter_, QLatin1Char('\n'));
    style()->drawItemText(&painter, contents, Qt::AlignCenter | Qt::TextWordWrap, palette(),
                          isEnabled(), caption, QPalette::ButtonText);
}
