#include "frmCtl.h"

#include "announce/mdlM_Tape.h"
#include "app/BacklightMessage.h"
#include "app/KeyboardControl.h"
#include "app/RouteSetting.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/PixelBlocks.h"
#include "options/WrapPushButton.h"
#include "panel/Form1.h"
#include "panel/PanelAppearance.h"
#include "panel/Q57Layout.h"
#include "platform/ClassicLook.h"
#include "platform/ControlNames.h"
#include "platform/ExecutableName.h"
#include "platform/KvRes.h"
#include "platform/MsgBox.h"
#include "platform/OnScreen.h"
#include "platform/RuntimeError.h"
#include "platform/WindowShape.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <functional>

namespace {

// Client area in pixels: 5295 x 2595 twips, 8910 twips wide with the preview shown. A plug-in's
// preview larger than 3300 x 1395 twips widens and heightens the shown part to hold it.
constexpr int kClientHeight = 2595 / Q57Layout::kTwipsPerPixel;
constexpr int kNarrowWidth = 5295 / Q57Layout::kTwipsPerPixel;
constexpr int kWideWidth = 8910 / Q57Layout::kTwipsPerPixel;
constexpr QRect kInputFrame(0, 0, 133, kClientHeight);
constexpr QSize kPreviewSize(3300 / Q57Layout::kTwipsPerPixel, 1395 / Q57Layout::kTwipsPerPixel);
constexpr QPoint kPreviewAt(360, 20);
constexpr int kComboGap = 6;
constexpr int kComboHeight = 22;
constexpr int kPreviewMargin = kWideWidth - kPreviewAt.x() - kPreviewSize.width();
constexpr int kKeyLightGrey = 0xE0;

struct Version {
    int major, minor, revision;
};
constexpr Version kVersion{Q57_VERSION_MAJOR, Q57_VERSION_MINOR, Q57_VERSION_PATCH};

QLabel* addLabel(QWidget* parent, const QString& text, const QRect& geometry,
                 Qt::Alignment alignment = Qt::AlignCenter) {
    auto* label = placed(new QLabel(text, parent), geometry);
    label->setAlignment(alignment);
    return label;
}

// A digit list of the list panel: "0" to "9", all in view.
QListWidget* addDigitList(QWidget* parent, const QString& name, int left) {
    auto* list = named(new QListWidget(parent), name, QRect(left, 30, 15, 114));
    QFont digits = list->font();
    digits.setPixelSize(11);
    list->setFont(digits);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int digit = 0; digit <= 9; ++digit) {
        auto* item = new QListWidgetItem(QString::number(digit), list);
        item->setTextAlignment(Qt::AlignCenter);
        item->setSizeHint(QSize(13, 11));
    }
    return list;
}

// The digits a row of lists stands for, left to right; a list without a selection adds none.
template <std::size_t N> QString selectedDigits(const std::array<QListWidget*, N>& lists) {
    QString digits;
    for (const QListWidget* list : lists)
        if (list->currentItem() != nullptr)
            digits += list->currentItem()->text();
    return digits;
}

// A check box drawn as a button that stays in while it is checked, as on the panel.
QPushButton* addLatchButton(QWidget* parent, const QString& caption, const QString& name,
                            const QRect& geometry) {
    auto* button = named(new QPushButton(caption, parent), name, geometry);
    button->setCheckable(true);
    const QColor released = button->palette().color(QPalette::Button);
    QObject::connect(button, &QPushButton::toggled, button, [button, released](bool in) {
        QPalette face = button->palette();
        face.setColor(QPalette::Button, in ? released.darker(125) : released);
        button->setPalette(face);
    });
    return button;
}

// The preview toggle's tooltip says what a click, or its key, does now.
QString previewToolTip(bool shown) {
    return shown ? QStringLiteral("整理券プレビューを隠します（P）")
                 : QStringLiteral("整理券プレビューを開きます（P）");
}

QString distributorCredit() {
    return QStringLiteral("配布元：Velmora 運賃表示器シミュレーター");
}

QString developerCredit(int year) {
    return QStringLiteral("開発：Q57 シミュレーター開発チーム ") + QString::number(year);
}

} // namespace

// The ticket preview's picture box: a new picture repaints only the part where it differs.
class frmCtl::TicketPreview : public QWidget {
public:
    explicit TicketPreview(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void setPicture(const QImage& picture) {
        const QRect changed = PixelBlocks::follow(picture_, picture);
        resize(picture_.size());
        update(changed);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter(this).drawImage(event->rect(), picture_, event->rect());
    }

private:
    QImage picture_;
};

frmCtl::frmCtl(Form1& panel, Ride& ride, const SettingsSource& settings, mdlM_Tape& tape)
    : panel_(panel), ride_(ride), settings_(settings), tape_(tape) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("集中操作盤"));
    ClassicLook::apply(*this);

    for (int i = 0; i < 2; ++i) {
        Frame1_[i] = named(new QFrame(this), arrayName("Frame1", i), kInputFrame);
        Frame1_[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
        Frame1_[i]->setAutoFillBackground(true);
        Frame1_[i]->installEventFilter(this);
    }
    buildKeypadPanel(*Frame1_[1]);
    buildListPanel(*Frame1_[0]);
    // The list panel is in front at first.
    Frame1_[0]->raise();
    buildMiddleColumn();
    buildRightColumn();
    buildPreview();
    bindKeys();
    connect(&ride_, &Ride::stateChanged, this, &frmCtl::showRideState);
    connect(&ride_, &Ride::ticketChanged, this, &frmCtl::drawTicket);
    showRideState();
    tellStripTheScroll();
    Form_Load();
}

frmCtl::~frmCtl() = default;

void frmCtl::buildListPanel(QFrame& frame) {
    addLabel(&frame, QStringLiteral("系統設定"), QRect(2, 2, 129, 14));
    auto* picture = named(new QFrame(&frame), QStringLiteral("Picture1"), QRect(4, 15, 125, 1));
    picture->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    addLabel(&frame, QStringLiteral("系　統"), QRect(4, 17, 75, 12));
    addLabel(&frame, QStringLiteral("区間"), QRect(84, 17, 45, 12));
    for (int k = 0; k < 5; ++k) {
        List2_[k] = addDigitList(&frame, arrayName("List2", k), 4 + 15 * k);
        connect(List2_[k], &QListWidget::currentRowChanged, &ride_, &Ride::playEntrySound);
    }
    for (int k = 0; k < 3; ++k) {
        List3_[k] = addDigitList(&frame, arrayName("List3", k), 84 + 15 * k);
        connect(List3_[k], &QListWidget::currentRowChanged, &ride_, &Ride::playSectionListSound);
    }
    auto* reset = named(new QPushButton(QStringLiteral("リセット"), &frame),
                        arrayName("Command1", 0), QRect(4, 147, 125, 22));
    connect(reset, &QPushButton::clicked, this, [this] { Command1_Click(0); });
}

void frmCtl::buildKeypadPanel(QFrame& frame) {
    // The dark window behind the entry display.
    auto* bezel = named(new QLabel(&frame), QStringLiteral("Label9"), QRect(4, 3, 125, 22));
    // Palettes, not style sheets: a style sheet costs the window a style of its own.
    bezel->setAutoFillBackground(true);
    QPalette dark = bezel->palette();
    dark.setColor(QPalette::Window, QColor(32, 32, 32));
    bezel->setPalette(dark);
    static const QRect displays[3] = {{7, 5, 62, 18}, {70, 5, 10, 18}, {81, 5, 45, 18}};
    for (int k = 0; k < 3; ++k) {
        Label2_[k] = named(new QLabel(&frame), arrayName("Label2", k), displays[k]);
        Label2_[k]->setAlignment(k == 1 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
        QPalette amber = Label2_[k]->palette();
        amber.setColor(QPalette::WindowText, QColor(255, 160, 0));
        Label2_[k]->setPalette(amber);
    }
    Label2_[1]->setText(QStringLiteral("-"));

    // Rows 7 8 9, 4 5 6, 1 2 3, then 0, 系統, 区間.
    static const int keyOrder[12] = {7, 8, 9, 4, 5, 6, 1, 2, 3, 0, 10, 11};
    for (int place = 0; place < 12; ++place) {
        const int k = keyOrder[place];
        const QString caption = k < 10    ? QString::number(k)
                                : k == 10 ? QStringLiteral("系統")
                                          : QStringLiteral("区間");
        const QRect geometry(18 + 33 * (place % 3), 29 + 28 * (place / 3), 30, 26);
        CommandButton1_[k] =
            named(new QPushButton(caption, &frame), arrayName("CommandButton1", k), geometry);
        if (k < 10) {
            QPalette face = CommandButton1_[k]->palette();
            face.setColor(QPalette::Button, QColor(kKeyLightGrey, kKeyLightGrey, kKeyLightGrey));
            CommandButton1_[k]->setPalette(face);
        }
        connect(CommandButton1_[k], &QPushButton::clicked, this,
                [this, k] { CommandButton1_Click(k); });
    }
    auto* reset = named(new QPushButton(QStringLiteral("リセット"), &frame),
                        arrayName("Command1", 1), QRect(4, 147, 125, 22));
    connect(reset, &QPushButton::clicked, this, [this] { Command1_Click(1); });
}

void frmCtl::buildMiddleColumn() {
    Check1_ = addLatchButton(this, QStringLiteral("表示消去"), QStringLiteral("Check1"),
                             QRect(137, 3, 112, 26));
    connect(Check1_, &QPushButton::toggled, this, &frmCtl::Check1_Click);

    static const char* const stepCaptions[2] = {"データ戻し", "データ送り"};
    for (int i = 0; i < 2; ++i) {
        auto* step = new WrapPushButton(QString::fromUtf8(stepCaptions[i]), this);
        step->setBreakAfter(3);
        Command2_[i] = named(step, arrayName("Command2", i), QRect(137 + 57 * i, 33, 55, 72));
        connect(Command2_[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }

    // Its caption and state are decided when speech is set up.
    grpM_Tape_ = named(new QGroupBox(this), QStringLiteral("grpM_Tape"), QRect(136, 108, 114, 63));
    const struct {
        const char* name;
        const char* caption;
        QRect geometry;
        std::function<void()> click;
    } tapeButtons[4] = {
        {"cmdTapeBack", "戻し", {5, 16, 50, 20}, [this] { ride_.tapeBack(); }},
        {"cmdTapeNext", "送り", {59, 16, 50, 20}, [this] { ride_.tapeNext(); }},
        {"cmdTapeStop", "■", {5, 39, 50, 20}, [this] { tape_.TapeStop(); }},
        {"cmdTapeSet", "調整", {59, 39, 50, 20}, [this] { tape_.TapeAdjust(); }},
    };
    for (const auto& button : tapeButtons)
        connect(named(new QPushButton(QString::fromUtf8(button.caption), grpM_Tape_),
                      QString::fromLatin1(button.name), button.geometry),
                &QPushButton::clicked, this, button.click);
}

void frmCtl::buildRightColumn() {
    auto* backlight = named(new QGroupBox(QStringLiteral("バックライト"), this),
                            QStringLiteral("Frame2"), QRect(253, 0, 72, 58));
    static const char* const backlightCaptions[3] = {"OFF", "ON1", "ON2"};
    for (int s = 0; s < 3; ++s) {
        Option4_[s] = named(new QRadioButton(QString::fromLatin1(backlightCaptions[s]), backlight),
                            arrayName("Option4", s), QRect(8, 14 + 14 * s, 60, 14));
        connect(Option4_[s], &QRadioButton::clicked, this, [this, s] { Option4_Click(s); });
    }
    Option4_[0]->setChecked(true);

    Check4_ =
        addLatchButton(this, QStringLiteral(">>"), QStringLiteral("Check4"), QRect(328, 3, 23, 20));
    Check4_->setToolTip(previewToolTip(false));
    connect(Check4_, &QPushButton::toggled, this, &frmCtl::Check4_Click);

    Frame6_ = named(new QFrame(this), QStringLiteral("Frame6"), QRect(253, 61, 98, 84));
    Frame6_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Check2_ = named(new QCheckBox(QStringLiteral("深夜料金"), Frame6_), QStringLiteral("Check2"),
                    QRect(4, 3, 90, 16));
    connect(Check2_, &QCheckBox::toggled, &ride_, &Ride::setNightFare);
    static const char* const barNames[2] = {"ｽｸﾛｰﾙ速度", "ｽｸﾛｰﾙ間隔"};
    static const int barRange[2][2] = {{1, 2000}, {0, 3000}};
    for (int i = 0; i < 2; ++i) {
        const int top = 21 + 31 * i;
        named(new QLabel(QString::fromUtf8(barNames[i]), Frame6_), arrayName("Label3", i),
              QRect(4, top, 58, 13));
        Label1_[i] = named(new QLabel(QString::number(barRange[i][0]), Frame6_),
                           arrayName("Label1", i), QRect(60, top, 34, 13));
        Label1_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        HScroll1_[i] = named(new QScrollBar(Qt::Horizontal, Frame6_), arrayName("HScroll1", i),
                             QRect(4, top + 14, 90, 14));
        HScroll1_[i]->setRange(barRange[i][0], barRange[i][1]);
        HScroll1_[i]->setSingleStep(1);
        HScroll1_[i]->setPageStep(100);
        connect(HScroll1_[i], &QScrollBar::valueChanged, this, [this, i] { HScroll1_Change(i); });
    }

    auto* settings = named(new QPushButton(QStringLiteral("設定..."), this),
                           QStringLiteral("Command4"), QRect(253, 148, 48, 23));
    connect(settings, &QPushButton::clicked, this, &frmCtl::Command4_Click);
    auto* about = named(new QPushButton(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), this),
                        QStringLiteral("Command8"), QRect(303, 148, 48, 23));
    connect(about, &QPushButton::clicked, this, &frmCtl::Command8_Click);
}

void frmCtl::buildPreview() {
    addLabel(this, QStringLiteral("整理券プレビュー"),
             QRect(kPreviewAt.x(), 4, kPreviewSize.width(), 14), Qt::AlignLeft | Qt::AlignVCenter)
        ->setObjectName(QStringLiteral("Label4"));
    picSeirikenPrev_ = named(new TicketPreview(this), QStringLiteral("picSeirikenPrev"),
                             QRect(kPreviewAt, kPreviewSize));
    picSeirikenPrev_->installEventFilter(this);
    Combo1_ = named(new QComboBox(this), QStringLiteral("Combo1"), QRect());
    setPreviewSize(kPreviewSize.width() * Q57Layout::kTwipsPerPixel,
                   kPreviewSize.height() * Q57Layout::kTwipsPerPixel);

    MnuHide_ = new QMenu(this);
    MnuHide_->setObjectName(QStringLiteral("MnuHide"));
    QAction* copy = MnuHide_->addAction(QStringLiteral("コピー(&C)"));
    copy->setObjectName(QStringLiteral("MnuHideCopy"));
    connect(copy, &QAction::triggered, this, &frmCtl::MnuHideCopy_Click);
}

// The keys, each named in its control's tooltip.
void frmCtl::bindKeys() {
    keys_ = new KeyboardControl(*this);
    const auto button = [this](const QString& name) { return findChild<QPushButton*>(name); };
    const auto bind = [this](const QList<QKeyCombination>& keys,
                             const QList<QAbstractButton*>& buttons, const QString& toolTip) {
        keys_->bind(keys, buttons);
        for (QAbstractButton* control : buttons)
            control->setToolTip(toolTip);
    };
    bind({Qt::Key_Right, Qt::Key_Space}, {Command2_[1]}, QStringLiteral("データ送り（→ / Space）"));
    bind({Qt::Key_Left, Qt::Key_Backspace}, {Command2_[0]},
         QStringLiteral("データ戻し（← / Backspace）"));
    bind({Qt::Key_B}, {Check1_}, QStringLiteral("表示消去（B）"));
    bind({Qt::Key_N}, {Check2_}, QStringLiteral("深夜料金（N）"));
    for (int s = 0; s < 3; ++s)
        bind(
            {Qt::Key(Qt::Key_F1 + s), Qt::CTRL | Qt::Key(Qt::Key_1 + s)}, {Option4_[s]},
            QStringLiteral("バックライト %1（F%2 / Ctrl+%2）").arg(Option4_[s]->text()).arg(s + 1));
    bind({Qt::Key_PageDown}, {button(QStringLiteral("cmdTapeNext"))},
         QStringLiteral("案内放送 送り（Page Down）"));
    bind({Qt::Key_PageUp}, {button(QStringLiteral("cmdTapeBack"))},
         QStringLiteral("案内放送 戻し（Page Up）"));
    bind({Qt::Key_Escape}, {button(QStringLiteral("cmdTapeStop"))},
         QStringLiteral("案内放送 停止（Esc）"));
    for (int k = 0; k < 10; ++k)
        bind({Qt::Key(Qt::Key_0 + k)}, {CommandButton1_[k]},
             QStringLiteral("数字 %1（%1）").arg(k));
    bind({Qt::Key_R}, {CommandButton1_[10]}, QStringLiteral("系統（R）"));
    bind({Qt::Key_S}, {CommandButton1_[11]}, QStringLiteral("区間（S）"));
    bind({Qt::Key_Return, Qt::Key_Enter},
         {button(arrayName("Command1", 0)), button(arrayName("Command1", 1))},
         QStringLiteral("リセット（Enter）"));
    keys_->bind({Qt::Key_P}, {Check4_});
    // A disabled panel takes no double-click either.
    keys_->bind({Qt::Key_K}, [this] {
        const int front = panelInFront();
        if (Frame1_[std::size_t(front)]->isEnabled())
            Frame1_DblClick(front);
    });
    for (QFrame* frame : Frame1_)
        frame->setToolTip(QStringLiteral("入力パネルの切り替え（ダブルクリック / K）"));
}

void frmCtl::takeKeysFrom(const QWidget& window) {
    keys_->watch(window);
}

// Raising a panel puts it last among the window's children.
int frmCtl::panelInFront() const {
    return children().indexOf(Frame1_[0]) > children().indexOf(Frame1_[1]) ? 0 : 1;
}

void frmCtl::Form_Load() {
    panel_.setWindowTitle(QStringLiteral("Velmora - 型番:") + executableName());
    for (QPushButton* key : CommandButton1_)
        key->setMask(WindowShape::roundRect2x2(2, 2, 28, 25));
    tape_.InitSpeech([this](const QString& title, bool enabled) {
        grpM_Tape_->setTitle(title);
        grpM_Tape_->setEnabled(enabled);
    });
}

int frmCtl::selectedBacklight() const {
    if (Option4_[0]->isChecked())
        return 0;
    return Option4_[1]->isChecked() ? 1 : 2;
}

void frmCtl::Option4_Click(int index) {
    try {
        PanelAppearance::applyBacklight(panel_, settings_.currentSettings(), index);
    } catch (const RuntimeError& error) {
        const std::optional<QString> picture =
            PanelAppearance::userPicture(settings_.currentSettings(), index);
        showMessageBox(this, QMessageBox::Critical, QStringLiteral("エラー"),
                       backlightErrorText(error.number()), QMessageBox::Ok, QString(),
                       picture ? fileDetail(*picture) : QString());
    }
}

void frmCtl::DispData(int row) {
    ride_.DispData(row);
}

// What can be done now: stepping and blanking once a route is set, route entry and the scroll
// while the display is not blank.
void frmCtl::showRideState() {
    for (QPushButton* step : Command2_)
        step->setEnabled(ride_.canStep());
    Check1_->setEnabled(ride_.routeSet());
    for (QWidget* part : {static_cast<QWidget*>(Frame1_[0]), static_cast<QWidget*>(Frame1_[1]),
                          static_cast<QWidget*>(Frame6_)})
        part->setEnabled(!ride_.blanked());
}

// What the preview prints is taken at the step; a hidden preview prints it when it is shown.
// A shown one prints it once the display panel's repaint of the step has reached the screen:
// the window system's repaint is posted at low priority, the print below it.
void frmCtl::drawTicket(const Ride::Ticket& ticket) {
    const IniRecord& settings = settings_.currentSettings();
    unprinted_ = Printing{ticket, settings.UseSeiriPrev != 0, settings.SeiriPlgFile,
                          qint16(Combo1_->currentIndex())};
    if (Check4_->isChecked() && !printPosted_) {
        printPosted_ = true;
        QCoreApplication::postEvent(this, new QEvent(kPrintEvent), Qt::LowEventPriority - 1);
    }
}

bool frmCtl::event(QEvent* event) {
    if (event->type() != kPrintEvent)
        return QWidget::event(event);
    printPosted_ = false;
    if (Check4_->isChecked())
        printTicket();
    return true;
}

void frmCtl::printTicket() {
    if (!unprinted_)
        return;
    const Printing printing = *std::exchange(unprinted_, std::nullopt);
    const Ride::Ticket& ticket = printing.ticket;
    // A plug-in draws over the whole picture; a blank one stands in for a ticket not drawn.
    if (!printing.print ||
        KvRes::KV4_DrawSeiriken(printing.plugin, preview_, ticket.stopName, ticket.date,
                                ticket.time, ticket.routeNumber, ticket.seiriNum, ticket.row,
                                printing.company) == 0) {
        preview_ = QImage(preview_.size(), preview_.format());
        preview_.fill(Qt::white);
    }
    picSeirikenPrev_->setPicture(preview_);
}

void frmCtl::GetCtrlDataInfo(IniRecord& ini) const {
    ini.CtlLeft = x() * Q57Layout::kTwipsPerPixel;
    ini.CtlTop = y() * Q57Layout::kTwipsPerPixel;
    ini.ScrollSpeed = HScroll1_[0]->value();
    ini.ScrollInterval = HScroll1_[1]->value();
    ini.CtlViewMode = InputPanel_;
    ini.PreviewOpen = Check4_->isChecked() ? 1 : 0;
    ini.LateNightFare = Check2_->isChecked() ? 1 : 0;
}

void frmCtl::SetCtrlDataInfo(const IniRecord& ini) {
    move(ini.CtlLeft / Q57Layout::kTwipsPerPixel, ini.CtlTop / Q57Layout::kTwipsPerPixel);
    HScroll1_[0]->setValue(qint16(ini.ScrollSpeed));
    HScroll1_[1]->setValue(qint16(ini.ScrollInterval));
    InputPanel_ = ini.CtlViewMode;
    Check4_->setChecked(ini.PreviewOpen != 0);
    Check2_->setChecked(ini.LateNightFare != 0);
    Frame1_DblClick(InputPanel_);
    // A bar that already held its value says nothing; the strip must hear it all the same.
    tellStripTheScroll();
}

void frmCtl::closeEvent(QCloseEvent* event) {
    if (showMessageBox(this, QMessageBox::Question, QStringLiteral("Velmoraの終了確認"),
                       QStringLiteral("Velmoraを終了しますか？"),
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    emit quitConfirmed();
    event->accept();
}

bool frmCtl::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 0; i < 2; ++i)
        if (watched == Frame1_[i] && event->type() == QEvent::MouseButtonDblClick) {
            Frame1_DblClick(i);
            return true;
        }
    if (watched == picSeirikenPrev_ && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton)
            MnuHide_->popup(press->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmCtl::CommandButton1_Click(int index) {
    ride_.playEntrySound();
    if (index == 10) {
        RouteKeyMode_ = true;
        Label2_[0]->clear();
    } else if (index == 11) {
        RouteKeyMode_ = false;
        Label2_[2]->clear();
    } else if (RouteKeyMode_) {
        Label2_[0]->setText(
            RouteSetting::appendDigit(Label2_[0]->text(), index, RouteSetting::kRouteDigits));
    } else {
        Label2_[2]->setText(
            RouteSetting::appendDigit(Label2_[2]->text(), index, RouteSetting::kSectionDigits));
    }
}

void frmCtl::Command1_Click(int index) {
    const std::optional<Ride::Refusal> refused =
        index == 1 ? ride_.setRoute(Label2_[0]->text(), Label2_[2]->text())
                   : ride_.setRoute(selectedDigits(List2_), selectedDigits(List3_));
    if (refused)
        MsgBox(this, refused->message, refused->detail);
}

void frmCtl::Command2_Click(int index) {
    ride_.step(index == 0 ? Ride::Direction::Back : Ride::Direction::Forward);
}

void frmCtl::Check1_Click(bool checked) {
    ride_.setBlanked(checked);
    grpM_Tape_->setEnabled(!checked && tape_.SpeechEnabled());
}

void frmCtl::Check4_Click(bool checked) {
    fitPreviewPart();
    if (checked)
        printTicket();
    Check4_->setText(checked ? QStringLiteral("<<") : QStringLiteral(">>"));
    Check4_->setToolTip(previewToolTip(checked));
}

void frmCtl::setPreviewSize(int widthTwips, int heightTwips) {
    const QSize size(qRound(std::max(widthTwips, 0) / double(Q57Layout::kTwipsPerPixel)),
                     qRound(std::max(heightTwips, 0) / double(Q57Layout::kTwipsPerPixel)));
    preview_ = QImage(size, QImage::Format_RGB32);
    preview_.fill(Qt::white);
    unprinted_.reset();
    picSeirikenPrev_->setPicture(preview_);
    Combo1_->setGeometry(kPreviewAt.x(), kPreviewAt.y() + size.height() + kComboGap,
                         kPreviewSize.width(), kComboHeight);
    fitPreviewPart();
}

// The window's size for the preview shown or hidden. Opening or enlarging it near a screen's
// edge moves the window back onto the screen, whole.
void frmCtl::fitPreviewPart() {
    if (!Check4_->isChecked()) {
        setFixedSize(kNarrowWidth, kClientHeight);
        return;
    }
    const QSize client(std::max(kWideWidth, kPreviewAt.x() + preview_.width() + kPreviewMargin),
                       std::max(kClientHeight, Combo1_->geometry().bottom() + 1 + kComboGap));
    setFixedSize(client);
    OnScreen::keep(*this, ScreenFit::Fit::Whole, placementOffset ? placementOffset() : QPoint());
}

void frmCtl::Frame1_DblClick(int index) {
    if (index != 0 && index != 1)
        return;
    InputPanel_ = qint16(index);
    Frame1_[std::size_t(index)]->lower();
}

void frmCtl::HScroll1_Change(int index) {
    Label1_[std::size_t(index)]->setText(QString::number(HScroll1_[std::size_t(index)]->value()));
    tellStripTheScroll();
}

void frmCtl::tellStripTheScroll() {
    ChimeiCtl_B& strip = panel_.ChimeiCtl();
    strip.setSpeed(qint16(HScroll1_[0]->value()));
    strip.setScrollStartWait(HScroll1_[1]->value());
}

void frmCtl::Command4_Click() {
    panel_.setEnabled(false);
    setEnabled(false);
    emit optionsRequested();
    panel_.setEnabled(true);
    setEnabled(true);
    ride_.showStopNameAgain();
}

void frmCtl::Command8_Click() {
    const QString text = QStringLiteral("型番：") + executableName() + QLatin1Char('\n') +
                         QStringLiteral("バージョン：%1.%2.%3\n\n")
                             .arg(kVersion.major)
                             .arg(kVersion.minor)
                             .arg(kVersion.revision) +
                         distributorCredit() + QLatin1Char('\n') +
                         developerCredit(QDate::currentDate().year()) + QLatin1Char('\n');
    panel_.setEnabled(false);
    KvRes::Call_dlg110(this, 1, text);
    panel_.setEnabled(true);
}

void frmCtl::MnuHideCopy_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(preview_);
}
