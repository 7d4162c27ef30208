#pragma once

#include "settings/IniData.h"

// The options dialog's part of the settings record, as data: what the dialog would make of a
// record, without making the dialog.
namespace OptionRecord {

// The dialog's controls would show these settings exactly as they are and give them back
// unchanged: every list position within its list, every check state 0 to 2, at most one
// button of each group chosen and a chosen one as -1. Other settings are for the dialog's
// controls to refuse or put right.
bool takenAsIs(const IniRecord& ini);

// The dialog's settings of from, put into to; the rest of to stays.
void copyOptions(const IniRecord& from, IniRecord& to);

} // namespace OptionRecord
