#include "OptionRecord.h"

#include "panel/Q57Layout.h"
#include "panel/SeirikenLabels.h"

#include <algorithm>
#include <initializer_list>

namespace {

// The dialog's lists and how many entries each holds.
constexpr int kColumns = 150;
constexpr int kChimeiFaces = 5;

// A text box holds at most 32767 characters; control characters are left to it to judge.
bool textAsIs(const QString& text) {
    return text.size() <= 32767 &&
           std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20; });
}

bool inList(qint16 position, int count) {
    return position >= -1 && position < count;
}

bool checkState(qint16 state) {
    return state >= 0 && state <= 2;
}

// Loading a button with any value but 0 chooses it and clears the others of its group.
bool group(std::initializer_list<qint16> buttons) {
    const auto chosen =
        std::count_if(buttons.begin(), buttons.end(), [](qint16 b) { return b != 0; });
    return chosen == 0 ||
           (chosen == 1 && std::find(buttons.begin(), buttons.end(), -1) != buttons.end());
}

} // namespace

namespace OptionRecord {

bool takenAsIs(const IniRecord& i) {
    const int positions = Q57Layout::kPositionCount;
    for (const QString* text :
         {&i.FareDataDir, &i.TapeDataDir, &i.PanelImageOff, &i.PanelImageOn1, &i.PanelImageOn2,
          &i.SoundRouteSet, &i.SoundReset, &i.StepSoundFile, &i.StepSoundFile1, &i.StepSoundFile2,
          &i.StepSoundFile3, &i.PreSoundFile, &i.PreSoundFile1, &i.PreSoundFile2, &i.PreSoundFile3,
          &i.SeiriPlgFile})
        if (!textAsIs(*text))
            return false;
    for (qint16 state :
         {i.UseSeiriNum, i.SeiriNumZeroPad, i.InfoOrderOn, i.InfoOrderFromZero, i.InfoSeiriNumOn,
          i.InfoRouteOn, i.InfoColumnOn, i.ChimeiFontBold, i.UseSeiriPrev})
        if (!checkState(state))
            return false;
    return inList(i.SeiriNumStyle, SeirikenLabels::kStyleCount) &&
           inList(i.InfoOrderSlot, positions) && inList(i.InfoSeiriNumSlot, positions) &&
           inList(i.InfoRouteSlot, positions) && inList(i.InfoColumnSlot, positions) &&
           inList(i.InfoColumn, kColumns) && inList(i.ChimeiFontMode, kChimeiFaces) &&
           inList(i.StepSoundColumn, kColumns) && group({i.PanelAuto, i.PanelManual}) &&
           group({i.PanelOffBuiltIn, i.PanelOffUser}) &&
           group({i.PanelOn1BuiltIn, i.PanelOn1User}) &&
           group({i.PanelOn2BuiltIn, i.PanelOn2User}) &&
           group({i.StepSoundAlways, i.StepSoundByColumn}) &&
           group({i.StepSoundSync, i.StepSoundAsync}) &&
           group({i.PreSoundAlways, i.PreSoundByFlag}) &&
           group({i.PreSoundSync, i.PreSoundAsync}) &&
           group({i.DateUpdateOnPrint, i.DateKeepAtRouteSet, i.DateFixed});
}

void copyOptions(const IniRecord& from, IniRecord& to) {
    IniRecord options = from;
    options.CtlViewMode = to.CtlViewMode;
    options.ScrollSpeed = to.ScrollSpeed;
    options.ScrollInterval = to.ScrollInterval;
    options.LateNightFare = to.LateNightFare;
    options.PreviewOpen = to.PreviewOpen;
    options.CtlLeft = to.CtlLeft;
    options.CtlTop = to.CtlTop;
    options.DispLeft = to.DispLeft;
    options.DispTop = to.DispTop;
    options.CustColors = to.CustColors;
    options.DegitFormat = to.DegitFormat;
    to = options;
}

} // namespace OptionRecord
