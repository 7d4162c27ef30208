#pragma once

#include <QtGlobal>

// The settings record: the snapshot of every setting that the settings file holds.
struct IniRecord {
    // Left and top edge of the display panel, in twips.
    qint32 DispLeft = 0;
    qint32 DispTop = 0;
};
