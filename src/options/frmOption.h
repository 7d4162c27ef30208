#pragma once

#include "options/SettingBinding.h"
#include "settings/SettingsSource.h"

#include <QDialog>
#include <array>
#include <vector>

class ColourButton;
class Form1;
class M_Degit;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

// The options dialog. Its controls show the settings kept for the program and keep them up to
// date as they change: every other part reads a setting from the kept record when it needs it.
// Created once, when first needed, hidden until shown, and closed only by "OK"; nothing in it
// is ever cancelled.
class frmOption : public QDialog, public SettingsSource {
    Q_OBJECT
public:
    // The controls start from the kept settings. The colour choice shows and keeps the user's
    // custom colours in the table given.
    frmOption(Form1& panel, KeptSettings& settings, std::array<quint32, 17>& customColours);

    // Kept as the controls change, so reading it costs nothing.
    const IniRecord& currentSettings() const override { return settings_.record; }

    // The folder the user chooses; empty when none was chosen. The text is not used.
    QString GetPathString(const QString& text);
    // Lets the user choose the button's colour; a cancelled choice changes nothing.
    void GetBtnColor(ColourButton& button);
    // Applies the display choices to the display panel.
    void SetProp();
    void AddComboItem();
    // Copy the dialog's settings into the record and back. Loading stops at the first control
    // that refuses its value, with that RuntimeError; the controls before it keep what they got.
    void GetOptionInfo(IniRecord& ini) const;
    void SetOptionInfo(const IniRecord& ini);
    // Reads a ticket plug-in's capabilities into the dialog; 0 when the file is not one.
    int SetPlgin(const QString& path);

signals:
    // The backlight button that is chosen on the operating panel is to be applied again.
    void backlightReapplyRequested();
    // A new plug-in is being chosen: the operating panel's company list starts empty.
    void companyListCleared();
    // A plug-in was read: the operating panel's preview takes its size, in twips.
    void previewSizeChosen(int widthTwips, int heightTwips);
    // The plug-in's company-name variants go to the operating panel's list.
    void companyNamesOffered(const QString& plugin);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Option3: the panel picture chosen automatically or by hand, then the built-in and user
    // buttons of each backlight state's picture.
    enum PanelOption {
        PanelAuto,
        PanelManual,
        On1User,
        On1BuiltIn,
        On2BuiltIn,
        On2User,
        OffUser,
        OffBuiltIn,
        kPanelOptions
    };
    // txtSelectSound: the route-entry sounds, then the pre-announcement and the step sounds, each
    // the one always played followed by those for the values 1 to 3.
    enum SoundBox {
        RouteSetSound,
        ResetSound,
        PreSoundAlwaysBox = 3,
        PreSoundValueBox,
        StepSoundAlwaysBox = 7,
        StepSoundValueBox,
        kSoundBoxes = StepSoundValueBox + 3
    };
    // Option2: each sound page's "always" and "by the data" buttons.
    enum SoundChoice { StepAlways, StepByColumn, PreAlways, PreByFlag, kSoundChoices };
    // Check3 and Combo4: the four information digits' boxes and position lists; Check3's fifth
    // box counts the order from 0, Combo4's fifth list is the fare column shown.
    enum InfoDigit { InfoOrder, InfoSeiriNum, InfoRoute, InfoColumnValue, kInfoDigits };
    static constexpr int kOrderFromZero = kInfoDigits;
    static constexpr int kInfoColumnList = kInfoDigits;

    void buildDataPage(QWidget* page);
    void buildPanelPage(QWidget* page);
    void buildDigitPage(QWidget* page);
    void buildChimeiPage(QWidget* page);
    void buildSoundPage(QWidget* page);
    // What the two sound sub-pages differ in.
    struct SoundSubPage {
        SoundChoice alwaysOption; // the next one chooses by the data
        SoundBox alwaysSound;
        const char* byDataCaption;
        SoundBox firstValueSound; // the sound for value 1; those for 2 and 3 follow
        int valueRowsTop;
        std::array<QRadioButton*, 2>* playing;
        const char* playingName;
        const char* playingCaptions[2];
    };
    void buildSoundSubPage(QWidget* page, const SoundSubPage& design);
    void buildStepSoundPage(QWidget* page);
    void buildPreSoundPage(QWidget* page);
    void buildTicketPage(QWidget* page);
    void bindSettings();
    QLineEdit* addSoundChoice(QWidget* parent, int index, const QRect& box);
    void ShowDegitPreview();
    void Option3_Click();
    void Command1_Click();
    void Command7_Click();
    void Command11_Click();

    Form1& panel_;
    KeptSettings& settings_;
    std::array<quint32, 17>& customColours_;
    QStackedWidget* pages_;
    std::array<QPushButton*, 6> Option1_{};
    std::array<QLineEdit*, 2> Text2_{};
    QCheckBox* Check1_ = nullptr;
    QWidget* Frame3_ = nullptr;
    std::array<QRadioButton*, kPanelOptions> Option3_{};
    std::array<QGroupBox*, 3> imageFrames_{};
    std::array<QLineEdit*, 3> txtSelectPanel_{};
    QComboBox* Combo2_ = nullptr;
    QCheckBox* Check2_ = nullptr;
    std::array<ColourButton*, 3> Command5_{};
    std::array<ColourButton*, 3> Command8_{};
    M_Degit* M_Degit1_ = nullptr;
    std::array<QCheckBox*, kInfoDigits + 1> Check3_{};
    std::array<QComboBox*, kInfoDigits + 1> Combo4_{};
    std::array<ColourButton*, 2> Command9_{};
    QComboBox* Combo3_ = nullptr;
    QCheckBox* Check4_ = nullptr;
    std::array<QLineEdit*, kSoundBoxes> txtSelectSound_{};
    QStackedWidget* soundPages_ = nullptr;
    std::array<QRadioButton*, kSoundChoices> Option2_{};
    QComboBox* Combo1_ = nullptr;
    std::array<QRadioButton*, 2> Option6_{};
    std::array<QRadioButton*, 2> Option7_{};
    QCheckBox* chkUseSeiriPrev_ = nullptr;
    QGroupBox* Frame10_ = nullptr;
    QGroupBox* Frame7_ = nullptr;
    QLineEdit* txtSeiriPlgDir_ = nullptr;
    QListWidget* List1_ = nullptr;
    QPlainTextEdit* txtPlginComment_ = nullptr;
    std::array<QRadioButton*, 3> Option4_{};
    QLabel* Label10_ = nullptr;

    // The settings in the order of loading, split where loading does more than set controls.
    std::vector<SettingBinding> panelSettings_;
    std::vector<SettingBinding> digitSettings_;
    std::vector<SettingBinding> otherSettings_;
};
