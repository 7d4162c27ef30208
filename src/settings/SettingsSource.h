#pragma once

#include "settings/IniData.h"

// Where a part reads a setting at the moment it needs it. While the program runs the record is
// kept by the program, and the options dialog keeps it up to date as its controls change, so a
// part that reads it sees what the controls show, at no cost.
class SettingsSource {
public:
    // Every setting as it stands now, by its name (FareDataDir, StepSoundColumn, ...).
    virtual const IniRecord& currentSettings() const = 0;

protected:
    ~SettingsSource() = default;
};

// The record itself, for the one who keeps it.
struct KeptSettings : SettingsSource {
    explicit KeptSettings(IniRecord kept = {}) : record(std::move(kept)) {}
    const IniRecord& currentSettings() const override { return record; }
    IniRecord record;
};
