#pragma once

#include "settings/IniData.h"

// Where a part reads a setting at the moment it needs it. While the program runs the options
// dialog is the source: its controls hold every setting, and it keeps this record up to date as
// they change, so a part that reads it sees what the controls show, at no cost.
class SettingsSource {
public:
    // Every setting as it stands now, by its name (FareDataDir, StepSoundColumn, ...).
    virtual const IniRecord& currentSettings() const = 0;

protected:
    ~SettingsSource() = default;
};
