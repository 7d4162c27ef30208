#include "ClassicLook.h"

#include "platform/JapaneseFonts.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace ClassicLook {

void apply(QWidget& window) {
    window.setAutoFillBackground(true);
    QPalette background = window.palette();
    background.setColor(QPalette::Window, QColor(192, 192, 192));
    // Qt's own grey for unusable captions would vanish on this background.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        background.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
    window.setPalette(background);
    QFont font = JapaneseFonts::face(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    window.setFont(font);
}

} // namespace ClassicLook
