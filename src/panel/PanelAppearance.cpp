#include "PanelAppearance.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "panel/LabelLook.h"
#include "panel/Q57Layout.h"
#include "panel/mdlQ57_000.h"
#include "platform/FileExists.h"
#include "platform/PictureFile.h"
#include "settings/IniData.h"

#include <QLabel>

namespace PanelAppearance {

void paintDegit(M_Degit& digit, const IniRecord& settings) {
    digit.setBackColor(settings.DegitBackColor);
    digit.setBaseForeColor(settings.DegitBaseForeColor);
    digit.setDegitForeColor(settings.DegitForeColor);
}

quint32 labelColour(const IniRecord& settings, int backlight) {
    const quint32 colours[3] = {settings.SeiriNumColorOff, settings.SeiriNumColorOn1,
                                settings.SeiriNumColorOn2};
    return colours[backlight];
}

void applyColours(Form1& form, const IniRecord& settings) {
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n)
        paintDegit(form.Degit(n), settings);
    paintDegit(form.TimeDegit(0), settings);
    paintDegit(form.TimeDegit(1), settings);
    form.ChimeiCtl().setBackColor(settings.ChimeiBackColor);
    form.ChimeiCtl().setForeColor(settings.ChimeiForeColor);
}

void applyDisplayChoices(Form1& form, const IniRecord& settings) {
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n)
        form.lblSeiriNum(n).setVisible(settings.UseSeiriNum != 0);
    mdlQ57_000::SeirikenNumSet(form, settings.SeiriNumStyle, settings.SeiriNumZeroPad);
    applyColours(form, settings);
    form.ChimeiCtl().setFontMode(settings.ChimeiFontMode);
    form.ChimeiCtl().setFontBold(settings.ChimeiFontBold == 1);
}

std::optional<QString> userPicture(const IniRecord& settings, int backlight) {
    const qint16 userChoice[3] = {settings.PanelOffUser, settings.PanelOn1User,
                                  settings.PanelOn2User};
    const QString userFile[3] = {settings.PanelImageOff, settings.PanelImageOn1,
                                 settings.PanelImageOn2};
    if (settings.PanelManual == 0 || userChoice[backlight] == 0)
        return std::nullopt;
    return userFile[backlight];
}

void applyBacklight(Form1& form, const IniRecord& settings, int backlight) {
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n)
        LabelLook::setColour(form.lblSeiriNum(n), labelColour(settings, backlight));
    const std::optional<QString> picture = userPicture(settings, backlight);
    if (!picture)
        form.setPicture(form.imgRes(backlight));
    else if (fileExists(*picture))
        form.setPicture(LoadPicture(*picture).valueOrThrow());
}

} // namespace PanelAppearance
