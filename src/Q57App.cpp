#include "Q57App.h"

#include "announce/SpeechAdjustDialog.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "options/OptionRecord.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "panel/PanelAppearance.h"
#include "panel/PanelViewControl.h"
#include "panel/Q57Layout.h"
#include "panel/mdlQ57_000.h"
#include "platform/KvRes.h"
#include "platform/OnScreen.h"
#include "settings/DefaultSettings.h"
#include "settings/SettingsLocation.h"
#include "ticket/TicketPlugin.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QScreen>
#include <QTimer>

namespace {

// The kept settings are the options dialog's; the windows keep the rest themselves.
IniRecord firstOptions() {
    IniRecord options;
    OptionRecord::copyOptions(DefaultSettings::record(), options);
    return options;
}

} // namespace

Q57App::Q57App(const SoundDevices::SinkFactory& makeSink, mdlM_Tape::SpeechFactory makeSpeech,
               const QString& viewFile)
    : settings_(firstOptions()), sounds_(makeSink), form_(std::make_unique<Form1>()),
      tape_(
          settings_, sounds_,
          makeSpeech ? std::move(makeSpeech) : [this] { return machineSpeech(); },
          KvRes::GetOsInfo),
      ride_(*form_, settings_, sounds_, tape_),
      // Its own window beside the panel, not a child of it; its load step runs here.
      operatingPanel_(std::make_unique<frmCtl>(*form_, ride_, settings_, tape_)),
      formPlacement_(*form_), panelPlacement_(*operatingPanel_),
      // The panel owns it: its menu and keys go with the window.
      panelView_(new PanelViewControl(*form_, viewFile.isEmpty() ? SettingsLocation::userFolder() +
                                                                       QStringLiteral("/panel.ini")
                                                                 : viewFile)) {
    frmCtl& ctl = *operatingPanel_;
    ctl.placementOffset = [this] { return panelPlacement_.offset(); };
    connect(form_.get(), &Form1::digitSettingsOpen, this,
            [&ctl](bool open) { ctl.setEnabled(!open); });
    // The operating panel's keys work while the display panel is the active window too.
    ctl.takeKeysFrom(*form_);
    connect(&ctl, &frmCtl::optionsRequested, this, &Q57App::showOptions);
    connect(&ctl, &frmCtl::quitConfirmed, this, &Q57App::quit);
}

Q57App::~Q57App() = default;

frmOption& Q57App::options() {
    if (options_)
        return *options_;
    // No parent: disabling the panel around the modal dialog must not disable the dialog too.
    options_ = std::make_unique<frmOption>(*form_, settings_, iniData_.CustColors);
    frmOption* dialog = options_.get();
    frmCtl& ctl = *operatingPanel_;
    connect(dialog, &frmOption::backlightReapplyRequested, this, [this] { reapplyBacklight(); });
    connect(dialog, &frmOption::companyListCleared, this, [&ctl] { ctl.Combo1().clear(); });
    connect(dialog, &frmOption::previewSizeChosen, &ctl, &frmCtl::setPreviewSize);
    connect(dialog, &frmOption::companyNamesOffered, this,
            [&ctl](const QString& plugin) { KvRes::KV4_SetCorpAddList(plugin, ctl.Combo1()); });
    return *options_;
}

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
    unpainted_ = {&form, operatingPanel_.get()};
    for (QObject* window : unpainted_)
        window->installEventFilter(this);
    mdlQ57_000::InitFareDegits(form);
    mdlQ57_000::SetModelDefaults(form, *this);
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

// What the first picture does not need waits until both windows have painted it, so that it
// does not compete with them for the processor.
bool Q57App::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && unpainted_.removeOne(watched)) {
        watched->removeEventFilter(this);
        if (unpainted_.isEmpty())
            QTimer::singleShot(0, this, [this] { sounds_.warmUp(); });
    }
    return false;
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
    options().exec();
}

// Settings the dialog would take as they are need no dialog: they are kept, and the parts its
// loading would tell are told here, in its order.
void Q57App::applyOptions(const IniRecord& ini) {
    if (options_ || !OptionRecord::takenAsIs(ini)) {
        options().SetOptionInfo(ini);
        return;
    }
    OptionRecord::copyOptions(ini, settings_.record);
    reapplyBacklight();
    offerPlugin(settings_.record.SeiriPlgFile);
}

// As the dialog offers a plug-in it has read: its preview size and its company names.
void Q57App::offerPlugin(const QString& path) {
    PlgInfo info{};
    if (path.isEmpty() || KvRes::KV4_GetPlgInfo(path, info) == 0)
        return;
    operatingPanel_->setPreviewSize(info.PrevWidth, info.PrevHeight);
    if (info.CorpSwitch >= 1)
        KvRes::KV4_SetCorpAddList(path, operatingPanel_->Combo1());
}

void Q57App::reapplyBacklight() {
    operatingPanel_->Option4_Click(operatingPanel_->selectedBacklight());
}

// The display choices on the panel, as the dialog's "OK" shows them.
void Q57App::SetProp() {
    PanelAppearance::applyDisplayChoices(*form_, settings_.record);
    reapplyBacklight();
}

void Q57App::quit() {
    form_->ChimeiCtl().SetChimei(QString());
    form_->DeleteRgn();
    sounds_.CloseSoundAliases();
    tape_.ReleaseSpeech();
    SaveIni();
    // Nothing runs after this: the other windows go with the program.
    form_->hide();
    if (options_)
        options_->hide();
    QCoreApplication::exit(0);
}

void Q57App::GatherIni(IniRecord& ini) const {
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
        const M_Degit& digit = form_->Degit(n);
        ini.DegitFormat[std::size_t(n - 1)] = {qint16(digit.Shift()), qint16(digit.ZeroMode()),
                                               qint16(digit.FillZero())};
    }
    if (options_)
        options_->GetOptionInfo(ini);
    else
        OptionRecord::copyOptions(settings_.record, ini);
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
    applyOptions(ini);
    operatingPanel_->SetCtrlDataInfo(ini);
    form_->SetFormInfo(ini);
    // The positions were stored on the last run's monitors, which may be smaller or gone.
    OnScreen::keep(*form_, ScreenFit::Fit::Reachable);
    OnScreen::keep(*operatingPanel_,
                   ini.PreviewOpen != 0 ? ScreenFit::Fit::Whole : ScreenFit::Fit::Reachable);
    SetProp();
}

QWidget* Q57App::messageOwner() const {
    return form_.get();
}
