#pragma once

#include "ticket/TicketPlugin.h"

class QImage;

// Draws a plug-in's ticket with these values over the whole image, scaled from the ticket's own
// units to the image's pixels; the image is cleared to white first. Bar codes are drawn with
// whole pixels per module, centred in their box, so that they stay readable.
void drawTicket(const TicketPlugin& plugin, const TicketValues& values, QImage& target);
