#pragma once

#include "settings/IniData.h"

// Where a part reads a setting at the moment it needs it. While the program runs the options
// dialog is the source: its controls hold every setting, so there is no copy to go stale.
class SettingsSource {
public:
    // Every setting as it stands now, by its name (FareDataDir, StepSoundColumn, ...).
    virtual IniRecord currentSettings() const = 0;

protected:
    ~SettingsSource() = default;
};
