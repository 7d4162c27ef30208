#include "Q57App.h"

#include "announce/SpeechAdjustDialog.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "panel/PanelAppearance.h"
#include "panel/PanelViewControl.h"
#include "panel/Q57Layout.h"
#include "panel/mdlQ57_000.h"
#include "platform/KvRes.h"
#include "platform/OnScreen.h"
#include "settings/SettingsLocation.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QScreen>

Q57App::Q57App(const SoundDevices::SinkFactory& makeSink, mdlM_Tape::SpeechFactory makeSpeech,
               const QString& viewFile)
    : sounds_(makeSink), form_(std::make_unique<Form1>()),
      // No parent: disabling the panel around the modal dialog must not disable the dialog too.
      options_(std::make_unique<frmOption>(*form_, iniData_.CustColors)),
      tape_(
          *options_, sounds_,
          makeSpeech ? std::move(makeSpeech) : [this] { return machineSpeech(); },
          KvRes::GetOsInfo),
      ride_(*form_, *options_, sounds_, tape_),
      // Its own window beside the panel, not a child of it; its load step runs here.
      operatingPanel_(std::make_unique<frmCtl>(*form_, ride_, *options_, tape_)),
      formPlacement_(*form_), panelPlacement_(*operatingPanel_),
      // The panel owns it: its menu and keys go with the window.
      panelView_(new PanelViewControl(*form_, viewFile.isEmpty() ? SettingsLocation::userFolder() +
                                                                       QStringLiteral("/panel.ini")
                                                                 : viewFile)) {
    frmCtl& ctl = *operatingPanel_;
    ctl.placementOffset = [this] { return panelPlacement_.offset(); };
    connect(options_.get(), &frmOption::backlightReapplyRequested, this,
            [&ctl] { ctl.Option4_Click(ctl.selectedBacklight()); });
    connect(options_.get(), &frmOption::companyListCleared, this, [&ctl] { ctl.Combo1().clear(); });
    connect(options_.get(), &frmOption::previewSizeChosen, &ctl, &frmCtl::setPreviewSize);
    connect(options_.get(), &frmOption::companyNamesOffered, this,
            [&ctl](const QString& plugin) { KvRes::KV4_SetCorpAddList(plugin, ctl.Combo1()); });
    connect(form_.get(), &Form1::digitSettingsOpen, this,
            [&ctl](bool open) { ctl.setEnabled(!open); });
    // The operating panel's keys work while the display panel is the active window too.
    ctl.takeKeysFrom(*form_);
    connect(&ctl, &frmCtl::optionsRequested, this, &Q57App::showOptions);
    connect(&ctl, &frmCtl::quitConfirmed, this, &Q57App::quit);
}

Q57App::~Q57App() = default;

// Open JTalk where the machine has it, with its dictionary and a voice; else none.
std::unique_ptr<SpeechObject> Q57App::machineSpeech() {
    JTalkSpeech::Config config;
    config.adjustDialog = speechAdjustDialog();
    return JTalkSpeech::create(config);
}

// The operating panel is looked up when the dialog opens: the engine is made while the panel is.
JTalkSpeech::Config::AdjustDialog Q57App::speechAdjustDialog() {
    return [this](const QString& title, const SpeechSettings& now, const QStringList& voices,
                  const std::function<void(const SpeechSettings&)>& hearSample) {
        return SpeechAdjustDialog::ask(operatingPanel_.get(), title, now, voices, hearSample);
    };
}

void Q57App::start() {
    Form1& form = *form_;
    mdlQ57_000::InitFareDegits(form);
    // The dialog stays hidden: the model defaults load it.
    mdlQ57_000::SetModelDefaults(form, *options_);
    operatingPanel_->show();
    operatingPanel_->raise();
    form.move(0, 0);
    moveOperatingPanelToBottomRight();
    form.setScale(1);
    LoadIni();
    // Scaled or full screen from where the settings file put the window.
    panelView_->apply();
    form.show();
    formPlacement_.measureFromHere();
    panelPlacement_.measureFromHere();
}

void Q57App::LoadIni() {
    mdlIniIo::LoadIni(iniData_, *this);
}

void Q57App::SaveIni() {
    mdlIniIo::SaveIni(iniData_, *this);
}

// Its bottom-right corner on the screen's, clear of any panel the desktop keeps there.
void Q57App::moveOperatingPanelToBottomRight() {
    frmCtl& panel = *operatingPanel_;
    const QRect screen = panel.screen()->availableGeometry();
    const QSize outer = panel.frameGeometry().size();
    panel.move(screen.x() + screen.width() - outer.width(),
               screen.y() + screen.height() - outer.height());
}

void Q57App::showOptions() {
    options_->exec();
}

void Q57App::quit() {
    form_->ChimeiCtl().SetChimei(QString());
    form_->DeleteRgn();
    sounds_.CloseSoundAliases();
    tape_.ReleaseSpeech();
    SaveIni();
    // Nothing runs after this: the other windows go with the program.
    form_->hide();
    options_->hide();
    QCoreApplication::exit(0);
}

void Q57App::GatherIni(IniRecord& ini) const {
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
        const M_Degit& digit = form_->Degit(n);
        ini.DegitFormat[std::size_t(n - 1)] = {qint16(digit.Shift()), qint16(digit.ZeroMode()),
                                               qint16(digit.FillZero())};
    }
    options_->GetOptionInfo(ini);
    operatingPanel_->GetCtrlDataInfo(ini);
    form_->GetFormInfo(ini);
    // Where the windows were put, not where a window manager's decorations pushed them.
    const QPoint panelOffset = formPlacement_.offset();
    ini.DispLeft = qint32(ini.DispLeft - panelOffset.x() * Q57Layout::kTwipsPerPixel);
    ini.DispTop = qint32(ini.DispTop - panelOffset.y() * Q57Layout::kTwipsPerPixel);
    const QPoint ctlOffset = panelPlacement_.offset();
    ini.CtlLeft = qint32(ini.CtlLeft - ctlOffset.x() * Q57Layout::kTwipsPerPixel);
    ini.CtlTop = qint32(ini.CtlTop - ctlOffset.y() * Q57Layout::kTwipsPerPixel);
}

void Q57App::ApplyIni(const IniRecord& ini) {
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
        M_Degit& digit = form_->Degit(n);
        const DegitFormatEntry& format = ini.DegitFormat[std::size_t(n - 1)];
        digit.setZeroMode(format.ZeroMode);
        digit.setShift(format.Shift);
        digit.setFillZero(format.FillZero);
        // Nothing shows until the display is next updated.
        digit.setValue(QStringLiteral(" "));
    }
    PanelAppearance::applyColours(*form_, ini);
    options_->SetOptionInfo(ini);
    operatingPanel_->SetCtrlDataInfo(ini);
    form_->SetFormInfo(ini);
    // The positions were stored on the last run's monitors, which may be smaller or gone.
    OnScreen::keep(*form_, ScreenFit::Fit::Reachable);
    OnScreen::keep(*operatingPanel_,
                   ini.PreviewOpen != 0 ? ScreenFit::Fit::Whole : ScreenFit::Fit::Reachable);
    options_->SetProp();
}

QWidget* Q57App::messageOwner() const {
    return form_.get();
}
