#pragma once

#include "settings/IniData.h"
#include "settings/SettingsLocation.h"

class QString;
class QWidget;

// The settings file: read once when the display panel loads, written once when the program ends.
namespace mdlIniIo {

// The windows as the settings file sees them: they hand every setting over for writing and
// take every setting that was read. Applying may stop at a value a window refuses, with its
// RuntimeError.
class IniWindows {
public:
    virtual void GatherIni(IniRecord& ini) const = 0;
    virtual void ApplyIni(const IniRecord& ini) = 0;
    // The window that owns the settings file's messages.
    virtual QWidget* messageOwner() const = 0;

protected:
    ~IniWindows() = default;
};

// The program's name and ".in4" (Q57.in4), read and written where SettingsLocation chooses.
SettingsLocation::Files IniFiles();
// Let a test keep its settings away from the program's: one file read and written, or a pair;
// an empty name returns to IniFiles' own choice.
void setIniFileName(const QString& name);
void setIniFiles(const SettingsLocation::Files& files);

// Reads the file into the record and hands it to the windows. A missing file leaves them with
// their defaults; a damaged one is reported, applies nothing and is kept aside as Q57.in4.bak
// beside the file the quit will write.
void LoadIni(IniRecord& ini, IniWindows& windows);
// Gathers every setting from the windows into the record and replaces the file written (its
// folder made when missing), which stays as it was when the new one cannot be written
// completely.
void SaveIni(IniRecord& ini, const IniWindows& windows);

} // namespace mdlIniIo
