#pragma once

#include "app/Ride.h"
#include "settings/IniData.h"
#include "settings/SettingsSource.h"

#include <QEvent>
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class Form1;
class KeyboardControl;
class mdlM_Tape;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The driver's central operating panel: the controls of route setting, stepping, blanking, night
// fare, backlight, the stop-name scroll, the announcements, the ticket preview and the way into
// the options dialog. The ride's rules are the Ride's; this window hands it the clicks and keys
// and shows what it says. Closing it ends the program.
class frmCtl : public QWidget {
    Q_OBJECT
public:
    frmCtl(Form1& panel, Ride& ride, const SettingsSource& settings, mdlM_Tape& tape);
    ~frmCtl() override;

    // Backlight 0 OFF, 1 ON1, 2 ON2: the panel picture and the ticket-number colour.
    void Option4_Click(int index);
    // Shows record row (1 to 301) on the display.
    void DispData(int row);
    void GetCtrlDataInfo(IniRecord& ini) const;
    void SetCtrlDataInfo(const IniRecord& ini);

    // The route that is set and where the display stands on it.
    DataIo& RouteData() { return ride_.data(); }
    // The backlight button that is chosen.
    int selectedBacklight() const;
    // The company-name variants the ticket plug-in offers.
    QComboBox& Combo1() const { return *Combo1_; }
    // The ticket preview's size as the plug-in asks for it, in twips; it is blank until the next
    // display update.
    void setPreviewSize(int widthTwips, int heightTwips);
    // How long route setting lights every segment; 3000 ms on the real unit.
    void setLampTestMilliseconds(int milliseconds) { ride_.setLampTestMilliseconds(milliseconds); }
    // Keys pressed while that window is active work this panel too, as they do here.
    void takeKeysFrom(const QWidget& window);
    // How far the window manager put this window from where it was asked, for the preview's
    // fitting to judge it where it was asked.
    std::function<QPoint()> placementOffset;

signals:
    // "設定...": the options dialog is to be shown, modal; it has closed when this returns.
    void optionsRequested();
    // The user confirmed ending the program; the program's shut-down runs inside this signal.
    void quitConfirmed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildListPanel(QFrame& frame);
    void buildKeypadPanel(QFrame& frame);
    void buildMiddleColumn();
    void buildRightColumn();
    void buildPreview();
    void bindKeys();
    int panelInFront() const;
    void Form_Load();
    void fitPreviewPart();
    void showRideState();
    void drawTicket(const Ride::Ticket& ticket);
    void printTicket();
    void tellStripTheScroll();

    void CommandButton1_Click(int index);
    void Command1_Click(int index);
    void Command2_Click(int index);
    void Check1_Click(bool checked);
    void Check4_Click(bool checked);
    void Frame1_DblClick(int index);
    void HScroll1_Change(int index);
    void Command4_Click();
    void Command8_Click();
    void MnuHideCopy_Click();

    Form1& panel_;
    Ride& ride_;
    const SettingsSource& settings_;
    mdlM_Tape& tape_;
    qint16 InputPanel_ = 0;
    bool RouteKeyMode_ = false;

    std::array<QFrame*, 2> Frame1_{};
    std::array<QListWidget*, 5> List2_{};
    std::array<QListWidget*, 3> List3_{};
    std::array<QPushButton*, 12> CommandButton1_{};
    std::array<QLabel*, 3> Label2_{};
    QPushButton* Check1_ = nullptr;
    std::array<QPushButton*, 2> Command2_{};
    QGroupBox* grpM_Tape_ = nullptr;
    std::array<QRadioButton*, 3> Option4_{};
    QFrame* Frame6_ = nullptr;
    QCheckBox* Check2_ = nullptr;
    std::array<QScrollBar*, 2> HScroll1_{};
    std::array<QLabel*, 2> Label1_{};
    QPushButton* Check4_ = nullptr;
    class TicketPreview;
    TicketPreview* picSeirikenPrev_ = nullptr;
    QImage preview_;
    // A ticket to print with the plug-in and company chosen at its step.
    struct Printing {
        Ride::Ticket ticket;
        bool print = false;
        QString plugin;
        qint16 company = -1;
    };
    std::optional<Printing> unprinted_;
    static constexpr QEvent::Type kPrintEvent = QEvent::Type(QEvent::User + 1);
    bool printPosted_ = false;
    QComboBox* Combo1_ = nullptr;
    QMenu* MnuHide_ = nullptr;
    KeyboardControl* keys_ = nullptr;
};
