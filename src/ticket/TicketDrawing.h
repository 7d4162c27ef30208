#pragma once

#include "ticket/TicketPlugin.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRect>
#include <optional>
#include <vector>

class QImage;
class QRegion;

// What drawing a plug-in's texts into images of one size keeps from one ticket to the next: each
// text element's font, resolved once, and what the texts it printed lately measure, so that a
// step neither resolves a font nor measures a text again. It belongs to that plug-in and size.
class TicketTexts {
public:
    TicketTexts(const TicketPlugin& plugin, QSize size);

    struct Measure {
        double advance = 0;
        QRectF ink; // from the start of the baseline, as QFontMetricsF::boundingRect gives it
    };

    QSize size() const { return size_; }
    const QFont& font(std::size_t element);
    const QFontMetricsF& metrics(std::size_t element);
    const Measure& measure(std::size_t element, const QString& text);

private:
    struct Kept {
        QFont font;
        QFontMetricsF metrics;
        QHash<QString, Measure> measures;
    };
    Kept& kept(std::size_t element);

    const TicketPlugin* plugin_;
    QSize size_;
    std::vector<std::optional<Kept>> kept_;
};

// Draws a plug-in's ticket with these values over the whole image, scaled from the ticket's own
// units to the image's pixels; the image is cleared to white first. Bar codes are drawn with
// whole pixels per module, centred in their box, so that they stay readable.
void drawTicket(const TicketPlugin& plugin, const TicketValues& values, QImage& target);

// Draws again only the part of a ticket drawn before: it is cleared to white there and every
// element whose reach (ticketElementReach, one for each element) meets it is drawn, clipped to it.
// The ticket equals one drawn whole with these values when the part holds the reach of every
// element that prints something else, before and now.
void redrawTicket(const TicketPlugin& plugin, const TicketValues& values, QImage& target,
                  const QRegion& part, const std::vector<QRect>& reach, TicketTexts& texts);

// The pixels the plug-in's element (an index) may touch with these values in an image of the
// texts' size.
QRect ticketElementReach(const TicketPlugin& plugin, std::size_t element,
                         const TicketValues& values, TicketTexts& texts);
