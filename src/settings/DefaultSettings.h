#pragma once

#include "settings/IniData.h"

// The settings a first start runs with, before any settings file: the windows take their
// controls' first values from here, and the sample settings start from it.
namespace DefaultSettings {

// The fixed ticket date is today's. The display panel stands at the screen's top left; the
// operating panel's place is left at 0: the start puts it in its screen's bottom-right corner.
IniRecord record();

} // namespace DefaultSettings
