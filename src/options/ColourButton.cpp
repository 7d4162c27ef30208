#include "ColourButton.h"

#include "platform/OleColor.h"

ColourButton::ColourButton(QWidget* parent) : QPushButton(parent) {
    setBackColor(backColor_);
}

void ColourButton::setBackColor(quint32 colour) {
    backColor_ = colour;
    // A style sheet paints the face in exactly this colour in every widget style.
    setStyleSheet(
        QStringLiteral("ColourButton { background-color: %1; border: 2px outset #a0a0a0; }"
                       "ColourButton:pressed { border-style: inset; }")
            .arg(OleColor::toQColor(colour).name()));
    emit backColorChanged();
}
