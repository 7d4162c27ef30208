#include "TicketDrawing.h"

#include "ticket/Nw7.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cmath>

namespace {

using Kind = TicketElement::Kind;

// An NW-7 symbol wants a quiet zone of ten narrow modules on either side.
constexpr int kQuietModules = 10;

QColor colourOf(quint32 rgb) {
    return QColor::fromRgb(QRgb(0xff000000u | rgb));
}

struct Scale {
    double x;
    double y;

    QRectF rect(const TicketElement& e) const {
        return {e.x * x, e.y * y, e.width * x, e.height * y};
    }
};

void drawText(QPainter& painter, const TicketElement& element, const QString& text,
              const QRectF& box, const Scale& scale) {
    QFont font(element.font);
    font.setPixelSize(std::max(1, int(std::lround(element.size * scale.y))));
    font.setBold(element.bold);
    painter.setFont(font);
    painter.setPen(colourOf(element.color));
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const Qt::Alignment align = aligns[int(element.align)] | Qt::AlignVCenter;
    const double advance = QFontMetricsF(font).horizontalAdvance(text);
    if (advance <= box.width()) {
        painter.drawText(box, int(align), text);
        return;
    }
    // A long stop name is narrowed to its box, as a ticket printer condenses it.
    painter.save();
    painter.translate(box.left(), 0);
    painter.scale(box.width() / advance, 1);
    painter.drawText(QRectF(0, box.top(), advance, box.height()), int(align), text);
    painter.restore();
}

void drawBox(QPainter& painter, const TicketElement& element, const QRectF& box,
             const Scale& scale) {
    if (element.fill)
        painter.fillRect(box, colourOf(*element.fill));
    if (element.lineWidth == 0)
        return;
    const double across = std::max(1.0, element.lineWidth * scale.x);
    const double down = std::max(1.0, element.lineWidth * scale.y);
    const QColor colour = colourOf(element.color);
    painter.fillRect(QRectF(box.left(), box.top(), box.width(), down), colour);
    painter.fillRect(QRectF(box.left(), box.bottom() - down, box.width(), down), colour);
    painter.fillRect(QRectF(box.left(), box.top(), across, box.height()), colour);
    painter.fillRect(QRectF(box.right() - across, box.top(), across, box.height()), colour);
}

void drawLine(QPainter& painter, const TicketElement& element, const Scale& scale) {
    const double width = std::max(1.0, element.lineWidth * std::min(scale.x, scale.y));
    painter.setPen(QPen(colourOf(element.color), width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(
        QPointF(element.x * scale.x, element.y * scale.y),
        QPointF((element.x + element.width) * scale.x, (element.y + element.height) * scale.y));
}

void drawBarcode(QPainter& painter, const std::vector<bool>& modules, const QRectF& box) {
    const QRect pixels = box.toAlignedRect();
    const int total = int(modules.size()) + 2 * kQuietModules;
    const int module = std::max(1, pixels.width() / total);
    int left = pixels.left() + (pixels.width() - int(modules.size()) * module) / 2;
    painter.save();
    painter.setClipRect(pixels);
    // White behind the bars keeps the quiet zone clear of other elements.
    painter.fillRect(pixels, Qt::white);
    for (std::size_t i = 0; i < modules.size();) {
        std::size_t end = i;
        while (end < modules.size() && modules[end] == modules[i])
            ++end;
        const int width = int(end - i) * module;
        if (modules[i])
            painter.fillRect(QRect(left, pixels.top(), width, pixels.height()), Qt::black);
        left += width;
        i = end;
    }
    painter.restore();
}

} // namespace

void drawTicket(const TicketPlugin& plugin, const TicketValues& values, QImage& target) {
    target.fill(Qt::white);
    if (target.isNull() || plugin.width <= 0 || plugin.height <= 0)
        return;
    const Scale scale{double(target.width()) / plugin.width,
                      double(target.height()) / plugin.height};
    QPainter painter(&target);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const TicketElement& element : plugin.elements) {
        const QRectF box = scale.rect(element);
        switch (element.kind) {
        case Kind::Line:
            drawLine(painter, element, scale);
            break;
        case Kind::Box:
            drawBox(painter, element, box, scale);
            break;
        case Kind::Barcode:
            if (const std::vector<bool> modules =
                    Nw7::modules(ticketBarcodeData(plugin.info, element, values));
                !modules.empty())
                drawBarcode(painter, modules, box);
            break;
        default:
            if (const QString text = ticketElementText(plugin, element, values); !text.isEmpty())
                drawText(painter, element, text, box, scale);
        }
    }
}
