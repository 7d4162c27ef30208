#include "LabelLook.h"

#include "platform/JapaneseFonts.h"
#include "platform/OleColor.h"

#include <QLabel>
#include <cmath>

namespace LabelLook {

QFont font(double pointSize) {
    QFont face = JapaneseFonts::face(QStringLiteral("ＭＳ Ｐゴシック"));
    face.setBold(true);
    face.setPixelSize(int(std::lround(pointSize * 96 / 72)));
    return face;
}

void setColour(QLabel& label, quint32 colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, OleColor::toQColor(colour));
    label.setPalette(palette);
}

} // namespace LabelLook
