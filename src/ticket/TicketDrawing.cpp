#include "TicketDrawing.h"

#include "ticket/Nw7.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
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

// A ticket prints at most this many letters of a text: a stop name of the fare data may be
// thousands long, and every letter costs its full size to draw however narrow it is made.
constexpr qsizetype kMostLetters = 32;

// Above this pixel size a glyph is filled as an outline after the narrowing, not rendered as a
// bitmap of its full size for each character: a long name in letters a preview high would
// otherwise take seconds. At such sizes the two look the same.
constexpr int kLargestBitmapText = 160;

// The text as outlines, placed as drawText places it in a box of its width.
void fillText(QPainter& painter, const QFont& font, const QFontMetricsF& metrics,
              const QString& text, const QRectF& box, int align, double advance) {
    const double x = (align & Qt::AlignHCenter) ? box.left() + (box.width() - advance) / 2
                     : (align & Qt::AlignRight) ? box.right() - advance
                                                : box.left();
    const double baseline = box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent();
    QPainterPath path;
    path.addText(x, baseline, font, text);
    painter.fillPath(path, painter.pen().color());
}

void drawText(QPainter& painter, const TicketElement& element, TicketTexts& texts,
              std::size_t index, const QString& text, const QRectF& box) {
    const QFont& font = texts.font(index);
    painter.setFont(font);
    painter.setPen(colourOf(element.color));
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const Qt::Alignment align = aligns[int(element.align)] | Qt::AlignVCenter;
    const double advance = texts.measure(index, text).advance;
    const bool outlines = font.pixelSize() > kLargestBitmapText;
    const auto fill = [&](const QRectF& at) {
        fillText(painter, font, texts.metrics(index), text, at, int(align), advance);
    };
    if (advance <= box.width()) {
        if (outlines)
            fill(box);
        else
            painter.drawText(box, int(align), text);
        return;
    }
    // A long stop name is narrowed to its box, as a ticket printer condenses it.
    painter.save();
    painter.translate(box.left(), 0);
    painter.scale(box.width() / advance, 1);
    const QRectF narrowed(0, box.top(), advance, box.height());
    if (outlines)
        fill(narrowed);
    else
        painter.drawText(narrowed, int(align), text);
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
    // Within the part being redrawn, when only a part is.
    painter.setClipRect(pixels, Qt::IntersectClip);
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

QFont fontOf(const TicketElement& element, const Scale& scale) {
    QFont font(element.font);
    font.setPixelSize(std::max(1, int(std::lround(element.size * scale.y))));
    font.setBold(element.bold);
    return font;
}

Scale scaleOf(const TicketPlugin& plugin, QSize size) {
    return {double(size.width()) / plugin.width, double(size.height()) / plugin.height};
}

// Draws every element, or with reach those whose reach meets only, clipped to it.
void drawElements(const TicketPlugin& plugin, const TicketValues& values, QImage& target,
                  const QRegion* only, const std::vector<QRect>* reach, TicketTexts& texts) {
    if (target.isNull() || plugin.width <= 0 || plugin.height <= 0) {
        target.fill(Qt::white);
        return;
    }
    Q_ASSERT(texts.size() == target.size());
    const Scale scale = scaleOf(plugin, target.size());
    QPainter painter(&target);
    if (only != nullptr) {
        painter.setClipRegion(*only);
        painter.fillRect(target.rect(), Qt::white);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (std::size_t i = 0; i < plugin.elements.size(); ++i) {
        if (only != nullptr && !only->intersects((*reach)[i]))
            continue;
        const TicketElement& element = plugin.elements[i];
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
            if (const QString text = ticketElementText(plugin, element, values).left(kMostLetters);
                !text.isEmpty())
                drawText(painter, element, texts, i, text, box);
        }
    }
}

} // namespace

TicketTexts::TicketTexts(const TicketPlugin& plugin, QSize size)
    : plugin_(&plugin), size_(size), kept_(plugin.elements.size()) {}

TicketTexts::Kept& TicketTexts::kept(std::size_t element) {
    std::optional<Kept>& kept = kept_[element];
    if (!kept) {
        const QFont font = fontOf(plugin_->elements[element], scaleOf(*plugin_, size_));
        kept.emplace(Kept{font, QFontMetricsF(font), {}});
    }
    return *kept;
}

const QFont& TicketTexts::font(std::size_t element) {
    return kept(element).font;
}

const QFontMetricsF& TicketTexts::metrics(std::size_t element) {
    return kept(element).metrics;
}

const TicketTexts::Measure& TicketTexts::measure(std::size_t element, const QString& text) {
    // A route's stop names and ticket numbers, ample for a ride back and forth.
    constexpr qsizetype kKeptMeasures = 256;
    Kept& kept = this->kept(element);
    auto found = kept.measures.constFind(text);
    if (found == kept.measures.cend()) {
        if (kept.measures.size() >= kKeptMeasures)
            kept.measures.clear();
        found = kept.measures.insert(
            text, {kept.metrics.horizontalAdvance(text), kept.metrics.boundingRect(text)});
    }
    return *found;
}

void drawTicket(const TicketPlugin& plugin, const TicketValues& values, QImage& target) {
    target.fill(Qt::white);
    TicketTexts texts(plugin, target.size());
    drawElements(plugin, values, target, nullptr, nullptr, texts);
}

void redrawTicket(const TicketPlugin& plugin, const TicketValues& values, QImage& target,
                  const QRegion& part, const std::vector<QRect>& reach, TicketTexts& texts) {
    drawElements(plugin, values, target, &part, &reach, texts);
}

QRect ticketElementReach(const TicketPlugin& plugin, std::size_t index, const TicketValues& values,
                         TicketTexts& texts) {
    if (plugin.width <= 0 || plugin.height <= 0)
        return {};
    const TicketElement& element = plugin.elements[index];
    const Scale scale = scaleOf(plugin, texts.size());
    const QRectF box = scale.rect(element);
    switch (element.kind) {
    case Kind::Box:
    case Kind::Barcode:
        return box.toAlignedRect().adjusted(-1, -1, 1, 1);
    case Kind::Line: {
        const int pen = int(std::ceil(element.lineWidth * std::min(scale.x, scale.y))) + 2;
        return QRectF(QPointF(element.x * scale.x, element.y * scale.y),
                      QPointF((element.x + element.width) * scale.x,
                              (element.y + element.height) * scale.y))
            .normalized()
            .toAlignedRect()
            .adjusted(-pen, -pen, pen, pen);
    }
    default: {
        const QString text = ticketElementText(plugin, element, values).left(kMostLetters);
        if (text.isEmpty())
            return {};
        // The ink where drawText puts it: the line centred down the box, across it aligned or,
        // when longer, narrowed into it. A made-up bold and rounding may add a little.
        const QFontMetricsF& metrics = texts.metrics(index);
        const auto& [advance, ink] = texts.measure(index, text);
        const double narrowing = advance > box.width() ? box.width() / advance : 1.0;
        const double room = box.width() - advance * narrowing;
        const double left = box.left() + (element.align == TicketElement::Align::Center  ? room / 2
                                          : element.align == TicketElement::Align::Right ? room
                                                                                         : 0.0);
        const double baseline = box.center().y() - metrics.height() / 2 + metrics.ascent();
        const int margin =
            2 + texts.font(index).pixelSize() / 10 + int(std::ceil(std::abs(metrics.leading())));
        return QRectF(left + ink.left() * narrowing, baseline + ink.top(), ink.width() * narrowing,
                      ink.height())
            .toAlignedRect()
            .adjusted(-margin, -margin, margin, margin);
    }
    }
}
