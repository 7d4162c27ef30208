#pragma once

#include "ticket/TicketPlugin.h"

#include <QRect>
#include <vector>

class QImage;
class QRegion;

// Draws a plug-in's ticket with these values over the whole image, scaled from the ticket's own
// units to the image's pixels; the image is cleared to white first. Bar codes are drawn with
// whole pixels per module, centred in their box, so that they stay readable.
void drawTicket(const TicketPlugin& plugin, const TicketValues& values, QImage& target);

// Draws again only the part of a ticket drawn before: it is cleared to white there and every
// element whose reach (ticketElementReach, one for each element) meets it is drawn, clipped to it.
// The ticket equals one drawn whole with these values when the part holds the reach of every
// element that prints something else, before and now.
void redrawTicket(const TicketPlugin& plugin, const TicketValues& values, QImage& target,
                  const QRegion& part, const std::vector<QRect>& reach);

// The pixels an element may touch with these values in an image of this size.
QRect ticketElementReach(const TicketPlugin& plugin, const TicketElement& element,
                         const TicketValues& values, QSize size);
