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

QPalette coloured(QPalette palette, quint32 colour) {
    palette.setColor(QPalette::WindowText, OleColor::toQColor(colour));
    return palette;
}

void setColour(QLabel& label, quint32 colour) {
    label.setPalette(coloured(label.palette(), colour));
}

} // namespace LabelLook
