#pragma once

#include "announce/JTalkSpeech.h"
#include "announce/SoundDevices.h"
#include "announce/mdlM_Tape.h"
#include "app/Ride.h"
#include "panel/mdlQ57_000.h"
#include "platform/ChoiceDialogs.h"
#include "platform/OnScreen.h"
#include "platform/ScopedHook.h"
#include "settings/IniData.h"
#include "settings/SettingsSource.h"
#include "settings/mdlIniIo.h"
#include "ticket/TicketPluginCache.h"

#include <QObject>
#include <memory>

class Form1;
class PanelViewControl;
class frmCtl;
class frmOption;

// The program: the one owner of its windows (and of the services they share), which hands each
// part what it uses and runs the start-up and shut-down in their order.
class Q57App : public QObject, private mdlIniIo::IniWindows, private mdlQ57_000::DefaultsTarget {
    Q_OBJECT
public:
    // Tests give the sound devices a sink that records what they play, and may make the speech
    // object their own way; the program sounds on the system's audio output and speaks with
    // the speech engine found on the machine. How the display panel is shown is kept in the
    // view file, panel.ini in the user's configuration folder unless a test names its own.
    explicit Q57App(const SoundDevices::SinkFactory& makeSink = {},
                    mdlM_Tape::SpeechFactory makeSpeech = {}, const QString& viewFile = {});
    ~Q57App() override;

    // The display panel's load step, after which it is shown.
    void start();

    Form1& form() const { return *form_; }
    // Made when first asked for: the settings are kept without it until then.
    frmOption& options();
    // Every setting as it stands now.
    const SettingsSource& settings() const { return settings_; }
    frmCtl& operatingPanel() const { return *operatingPanel_; }
    PanelViewControl& panelView() const { return *panelView_; }
    mdlSndAPI::Sounds& sounds() { return sounds_; }
    // The route's announcements and the speech that reads them.
    mdlM_Tape& tape() { return tape_; }
    // The route, the position on it and the rules of stepping along it.
    Ride& ride() { return ride_; }
    // The speech engine's adjustment dialog, modal on the operating panel: for engines made
    // with a configuration of their own.
    JTalkSpeech::Config::AdjustDialog speechAdjustDialog();
    // The snapshot the settings file is read into and written from.
    IniRecord& IniData() { return iniData_; }
    // The settings file read into every window, and every window written into it.
    void LoadIni();
    void SaveIni();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveOperatingPanelToBottomRight();
    void showOptions();
    void applyOptions(const IniRecord& ini);
    void offerPlugin(const QString& path);
    void reapplyBacklight();
    void SetProp() override;
    void quit();

    void GatherIni(IniRecord& ini) const override;
    void ApplyIni(const IniRecord& ini) override;
    QWidget* messageOwner() const override;

    std::unique_ptr<SpeechObject> machineSpeech();

    TicketPluginCache plugins_;
    ScopedHook<KvRes::TicketPlugins> pluginsInstalled_{plugins_};
    ChoiceDialogs choices_;
    ScopedHook<KvRes::Choices> choicesInstalled_{choices_};
    IniRecord iniData_;
    KeptSettings settings_;
    SoundDevices sounds_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<frmOption> options_;
    mdlM_Tape tape_;
    Ride ride_;
    std::unique_ptr<frmCtl> operatingPanel_;
    OnScreen::PlacementOffset formPlacement_;
    OnScreen::PlacementOffset panelPlacement_;
    PanelViewControl* panelView_;
    QObjectList unpainted_; // the windows whose first paint the background set-up waits for
};
