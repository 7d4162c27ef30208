#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// How one fare position shows its number (the digit settings dialog's three choices).
struct DegitFormatEntry {
    qint16 Shift = 0;
    qint16 ZeroMode = 0;
    qint16 FillZero = 0;

    bool operator==(const DegitFormatEntry&) const = default;
};

// The settings record: the snapshot of every setting that the settings file holds. Check
// boxes hold 0 or 1, option buttons -1 (chosen) or 0, lists their 0-based position (-1: none),
// colours 0x00BBGGRR.
struct IniRecord {
    // The options dialog's settings.
    QString FareDataDir;
    QString TapeDataDir;
    qint16 UseSeiriNum = 0;
    quint32 SeiriNumColorOff = 0;
    quint32 SeiriNumColorOn1 = 0;
    quint32 SeiriNumColorOn2 = 0;
    qint16 SeiriNumStyle = 0;
    qint16 SeiriNumZeroPad = 0;
    qint16 PanelAuto = 0;
    qint16 PanelManual = 0;
    qint16 PanelOffBuiltIn = 0;
    qint16 PanelOffUser = 0;
    qint16 PanelOn1BuiltIn = 0;
    qint16 PanelOn1User = 0;
    qint16 PanelOn2BuiltIn = 0;
    qint16 PanelOn2User = 0;
    QString PanelImageOff;
    QString PanelImageOn1;
    QString PanelImageOn2;
    quint32 DegitBackColor = 0;
    quint32 DegitBaseForeColor = 0;
    quint32 DegitForeColor = 0;
    qint16 InfoOrderOn = 0;
    qint16 InfoOrderSlot = 0;
    qint16 InfoOrderFromZero = 0;
    qint16 InfoSeiriNumOn = 0;
    qint16 InfoSeiriNumSlot = 0;
    qint16 InfoRouteOn = 0;
    qint16 InfoRouteSlot = 0;
    qint16 InfoColumnOn = 0;
    qint16 InfoColumn = 0;
    qint16 InfoColumnSlot = 0;
    quint32 ChimeiBackColor = 0;
    quint32 ChimeiForeColor = 0;
    qint16 ChimeiFontMode = 0;
    qint16 ChimeiFontBold = 0;
    QString SoundRouteSet;
    QString SoundReset;
    qint16 StepSoundAlways = 0;
    qint16 StepSoundByColumn = 0;
    qint16 StepSoundSync = 0;
    qint16 StepSoundAsync = 0;
    QString StepSoundFile;
    qint16 StepSoundColumn = 0;
    QString StepSoundFile1;
    QString StepSoundFile2;
    QString StepSoundFile3;
    qint16 PreSoundAlways = 0;
    qint16 PreSoundByFlag = 0;
    qint16 PreSoundSync = 0;
    qint16 PreSoundAsync = 0;
    QString PreSoundFile;
    QString PreSoundFile1;
    QString PreSoundFile2;
    QString PreSoundFile3;
    qint16 UseSeiriPrev = 0;
    QString SeiriPlgFile;
    qint16 DateUpdateOnPrint = 0;
    qint16 DateKeepAtRouteSet = 0;
    qint16 DateFixed = 0;
    QString FixedDate;

    // The operating panel's state and position (edges in twips).
    qint16 CtlViewMode = 0;
    qint32 ScrollSpeed = 0;
    qint32 ScrollInterval = 0;
    qint16 LateNightFare = 0;
    qint16 PreviewOpen = 0;
    qint32 CtlLeft = 0;
    qint32 CtlTop = 0;

    // Left and top edge of the display panel, in twips.
    qint32 DispLeft = 0;
    qint32 DispTop = 0;

    // The colour dialog's custom colours.
    std::array<quint32, 17> CustColors{};

    // Fare positions 1..61 at indices 0..60.
    std::array<DegitFormatEntry, 61> DegitFormat{};

    bool operator==(const IniRecord&) const = default;
};
