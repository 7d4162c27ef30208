// Draws the front of the Q57 fare display (755 x 307 pixels) that the panel window shows behind
// its digits: dark housing, the fare grid, the stop-name window. Writes it to the path given.
//   make_panel_picture data/panel.png

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>

namespace {

void drawScrew(QPainter& painter, QPointF centre) {
    painter.setPen(QColor(20, 20, 22));
    painter.setBrush(QColor(92, 94, 98));
    painter.drawEllipse(centre, 4.5, 4.5);
    painter.setPen(QPen(QColor(40, 40, 44), 1.2));
    painter.drawLine(centre + QPointF(-3, 0), centre + QPointF(3, 0));
}

void drawPanel(QImage& image) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient housing(0, 0, 0, image.height());
    housing.setColorAt(0, QColor(52, 54, 58));
    housing.setColorAt(1, QColor(30, 31, 34));
    painter.fillRect(image.rect(), housing);
    painter.setPen(QPen(QColor(82, 85, 90), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1, 1, image.width() - 2, image.height() - 2));
    painter.setPen(QPen(QColor(16, 16, 18), 1));
    painter.drawRect(QRectF(6.5, 6.5, image.width() - 13, image.height() - 13));

    // The smoked window in front of the fare grid (labels at the top, position 61 at the bottom).
    const QRectF grid(138.5, 18.5, 594, 272);
    painter.setPen(QPen(QColor(70, 72, 76), 1));
    painter.setBrush(QColor(10, 10, 12));
    painter.drawRoundedRect(grid, 3, 3);
    painter.setPen(QPen(QColor(26, 27, 30), 1));
    const int rowSeparators[] = {61, 98, 135, 172, 209, 246};
    for (int y : rowSeparators)
        painter.drawLine(QPointF(144, y + 0.5), QPointF(727, y + 0.5));

    // The stop-name window around the dot-matrix strip.
    painter.setPen(QPen(QColor(90, 92, 96), 1));
    painter.setBrush(QColor(6, 6, 8));
    painter.drawRoundedRect(QRectF(53.5, 52.5, 48, 206), 3, 3);

    QFont caption(QStringLiteral("IPAGothic"));
    caption.setPixelSize(11);
    painter.setFont(caption);
    painter.setPen(QColor(150, 152, 156));
    const QString vertical = QStringLiteral("運賃表示器");
    for (int i = 0; i < vertical.size(); ++i)
        painter.drawText(QRectF(108, 96 + i * 16, 22, 16), Qt::AlignCenter, vertical.mid(i, 1));
    QFont model(QStringLiteral("DejaVu Sans"));
    model.setPixelSize(12);
    model.setBold(true);
    painter.setFont(model);
    painter.setPen(QColor(120, 122, 126));
    painter.drawText(QRectF(22, 272, 90, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Q57"));

    const QPointF screws[] = {{16, 16}, {739, 16}, {16, 291}, {739, 291}};
    for (QPointF screw : screws)
        drawScrew(painter, screw);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const char* platformArgs[] = {argv[0], "-platform", "offscreen"};
    int platformArgc = 3;
    QGuiApplication app(platformArgc, const_cast<char**>(platformArgs));
    QImage image(755, 307, QImage::Format_RGB32);
    drawPanel(image);
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
