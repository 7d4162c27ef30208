#pragma once

#include "options/SettingBinding.h"
#include "panel/mdlQ57_000.h"
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

// The options dialog. Its controls are the one place where the settings live while the
// program runs: every other part reads a setting from here when it needs it. Created once,
// hidden until shown, and closed only by "OK"; nothing in it is ever cancelled.
class frmOption : public QDialog, public SettingsSource, public mdlQ57_000::DefaultsTarget {
    Q_OBJECT
public:
    // The colour choice shows and keeps the user's custom colours in the table given.
    frmOption(Form1& panel, std::array<quint32, 17>& customColours);

    // Kept as the controls change, so reading it costs nothing.
    const IniRecord& currentSettings() const override { return current_; }

    // The folder the user chooses; empty when none was chosen. The text is not used.
    QString GetPathString(const QString& text);
    // Lets the user choose the button's colour; a cancelled choice changes nothing.
    void GetBtnColor(ColourButton& button);
    // Applies the display choices to the display panel.
    void SetProp() override;
    void setTicketNumberDefaults(const std::array<quint32, 3>& colours, bool shown) override;
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
    void buildDataPage(QWidget* page);
    void buildPanelPage(QWidget* page);
    void buildDigitPage(QWidget* page);
    void buildChimeiPage(QWidget* page);
    void buildSoundPage(QWidget* page);
    // What the two sound sub-pages differ in.
    struct SoundSubPage {
        int firstOption; // Option2 index of "always this sound"; the next one is by data
        int alwaysSound; // txtSelectSound index of the sound played always
        const char* byDataCaption;
        int firstValueSound; // txtSelectSound index of the sound for value 1
        int valueRowsTop;
        std::array<QRadioButton*, 2>* playing;
        const char* playingName;
        const char* playingCaptions[2];
        int chosenPlaying;
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
    std::array<quint32, 17>& customColours_;
    QStackedWidget* pages_;
    std::array<QPushButton*, 6> Option1_{};
    std::array<QLineEdit*, 2> Text2_{};
    QCheckBox* Check1_ = nullptr;
    QWidget* Frame3_ = nullptr;
    std::array<QRadioButton*, 8> Option3_{};
    std::array<QGroupBox*, 3> imageFrames_{};
    std::array<QLineEdit*, 3> txtSelectPanel_{};
    QComboBox* Combo2_ = nullptr;
    QCheckBox* Check2_ = nullptr;
    std::array<ColourButton*, 3> Command5_{};
    std::array<ColourButton*, 3> Command8_{};
    M_Degit* M_Degit1_ = nullptr;
    std::array<QCheckBox*, 5> Check3_{};
    std::array<QComboBox*, 5> Combo4_{};
    std::array<ColourButton*, 2> Command9_{};
    QComboBox* Combo3_ = nullptr;
    QCheckBox* Check4_ = nullptr;
    std::array<QLineEdit*, 11> txtSelectSound_{};
    QStackedWidget* soundPages_ = nullptr;
    std::array<QRadioButton*, 4> Option2_{};
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
    IniRecord current_;
};
