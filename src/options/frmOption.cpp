#include "frmOption.h"

#include "controls/M_Degit.h"
#include "options/ColourButton.h"
#include "options/PluginCapabilities.h"
#include "options/WrapPushButton.h"
#include "options/WrapRadioButton.h"
#include "panel/PanelAppearance.h"
#include "panel/Q57Layout.h"
#include "panel/SeirikenLabels.h"
#include "platform/ClassicLook.h"
#include "platform/ControlNames.h"
#include "platform/KvRes.h"
#include "platform/MsgBox.h"
#include "platform/RuntimeError.h"
#include "platform/Shell.h"
#include "ticket/TicketPlugin.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <cmath>

namespace {

QLabel* addLabel(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = placed(new QLabel(text, parent), geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QGroupBox* addFrame(QWidget* parent, const QString& caption, const QRect& geometry) {
    return placed(new QGroupBox(caption, parent), geometry);
}

QPushButton* addBrowseButton(QWidget* parent, const QString& name, QPoint topLeft) {
    return named(new QPushButton(QStringLiteral("..."), parent), name, {topLeft, QSize(28, 22)});
}

QLineEdit* addTextBox(QWidget* parent, const QString& name, const QRect& geometry) {
    return named(new QLineEdit(parent), name, geometry);
}

WrapRadioButton* addOption(QWidget* parent, const QString& name, const QString& caption,
                           const QRect& geometry) {
    return named(new WrapRadioButton(caption, parent), name, geometry);
}

QCheckBox* addCheck(QWidget* parent, const QString& name, const QString& caption,
                    const QRect& geometry) {
    return named(new QCheckBox(caption, parent), name, geometry);
}

QComboBox* addList(QWidget* parent, const QString& name, const QRect& geometry) {
    return named(new QComboBox(parent), name, geometry);
}

ColourButton* addColour(QWidget* parent, const QString& name, QPoint topLeft) {
    return named(new ColourButton(parent), name, {topLeft, QSize(48, 22)});
}

// An option button drawn as a push button, one of a row or column that picks what is in front.
QPushButton* addPageButton(QWidget* parent, const QString& name, const QString& caption,
                           const QRect& geometry) {
    auto* button = named(new WrapPushButton(caption, parent), name, geometry);
    button->setCheckable(true);
    return button;
}

// Option buttons of one frame choose one of them. The frames nest, and Qt's automatic
// grouping would take in the buttons of the inner frames too.
void makeGroup(QWidget* owner, std::initializer_list<QAbstractButton*> buttons) {
    auto* group = new QButtonGroup(owner);
    for (QAbstractButton* button : buttons)
        group->addButton(button);
}

// Lists sit inside a check box's caption, in runs of blanks left for them: the
// caption becomes the parts joined by such runs, and each list is moved onto its run.
void setCaptionAroundLists(QCheckBox& box, const QStringList& parts,
                           const QList<QComboBox*>& lists) {
    const QFontMetrics metrics(box.font());
    QStyleOptionButton option;
    option.initFrom(&box);
    int x = box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box).left();
    QString caption;
    for (int i = 0; i < parts.size(); ++i) {
        caption += parts[i];
        if (i >= lists.size())
            continue;
        QComboBox& list = *lists[i];
        const int listLeft = x + metrics.horizontalAdvance(caption) + 2;
        list.move(box.x() + listLeft, box.y() + (box.height() - list.height()) / 2);
        const int blanks = int(std::ceil((list.width() + 4.0) / metrics.horizontalAdvance(' ')));
        caption += QString(blanks, QLatin1Char(' '));
    }
    box.setText(caption);
    box.resize(x + metrics.horizontalAdvance(caption) + 4, box.height());
}

const QList<KvRes::FileFilter>& soundFilters() {
    static const QList<KvRes::FileFilter> filters = {
        {QStringLiteral("Waveサウンド(*.wav)"), QStringLiteral("*.wav")},
        {QStringLiteral("MP3サウンド(*.mp3)"), QStringLiteral("*.mp3")},
        {QStringLiteral("MIDIシーケンス(*.mid)"), QStringLiteral("*.mid")},
    };
    return filters;
}

const QList<KvRes::FileFilter>& pictureFilters() {
    static const QList<KvRes::FileFilter> filters = {
        {QStringLiteral("ビットマップ(*.bmp)"), QStringLiteral("*.bmp")},
        {QStringLiteral("GIF画像(*.gif)"), QStringLiteral("*.gif")},
        {QStringLiteral("JPEG画像(*.jpg)"), QStringLiteral("*.jpg")},
    };
    return filters;
}

const QList<KvRes::FileFilter>& plginFilters() {
    static const QList<KvRes::FileFilter> filters = {
        {QStringLiteral("整理券プラグイン(*.4SP)"), QStringLiteral("*.4SP")},
    };
    return filters;
}

// Puts a chosen path into the box; a cancelled choice leaves the box as it was.
void putChoice(QLineEdit& box, const QString& path) {
    if (!path.isEmpty())
        box.setText(path);
}

} // namespace

frmOption::frmOption(Form1& panel, KeptSettings& settings, std::array<quint32, 17>& customColours)
    : panel_(panel), settings_(settings), customColours_(customColours),
      pages_(new QStackedWidget(this)) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("オプション"));
    setModal(true);
    setFixedSize(638, 374);
    ClassicLook::apply(*this);

    static const char* const pageButtonCaptions[6] = {
        "運賃データと　放送用データ",
        "パネルと整理券番号表示",
        "デジタル部品と情報用数字",
        "停名の設定",
        "サウンド",
        "　　整理券　　　プレビュー",
    };
    static const char* const pageCaptions[6] = {
        "運賃データと放送用データ",
        "パネルと整理券番号表示",
        "デジタル部品と情報用数字",
        "停名の設定",
        "サウンド（鳴らさなくてもいい項目にはファイル名を入れないで下さい）",
        "整理券プレビュー",
    };
    static const int pageButtonTops[6] = {3, 60, 116, 172, 228, 284};
    pages_->setGeometry(97, 5, 533, 333);
    using Builder = void (frmOption::*)(QWidget*);
    static const Builder builders[6] = {
        &frmOption::buildDataPage,   &frmOption::buildPanelPage, &frmOption::buildDigitPage,
        &frmOption::buildChimeiPage, &frmOption::buildSoundPage, &frmOption::buildTicketPage,
    };
    for (int k = 0; k < 6; ++k) {
        // Made inside the stack so that the dialog's font reaches it before its captions are
        // measured.
        auto* page = new QGroupBox(QString::fromUtf8(pageCaptions[k]), pages_);
        page->setObjectName(arrayName("Frame1", k));
        (this->*builders[k])(page);
        pages_->addWidget(page);
        Option1_[k] =
            addPageButton(this, arrayName("Option1", k), QString::fromUtf8(pageButtonCaptions[k]),
                          QRect(6, pageButtonTops[k], 83, 55));
        connect(Option1_[k], &QPushButton::toggled, this, [this, k](bool on) {
            if (on)
                pages_->setCurrentIndex(k);
        });
    }
    makeGroup(this, {Option1_[0], Option1_[1], Option1_[2], Option1_[3], Option1_[4], Option1_[5]});
    Option1_[0]->setChecked(true);

    auto* ok = placed(new QPushButton(QStringLiteral("OK"), this), QRect(533, 343, 92, 25));
    ok->setObjectName(QStringLiteral("Command4"));
    connect(ok, &QPushButton::clicked, this, [this] {
        SetProp();
        hide();
    });
    // Return presses no button: the dialog has no default action.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    M_Degit1_->setDegitSize(0);
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n)
        for (int slot = 0; slot < kInfoDigits; ++slot)
            Combo4_[std::size_t(slot)]->addItem(QString::number(n));
    for (int n = 1; n <= 150; ++n) {
        Combo1_->addItem(QString::number(n));
        Combo4_[kInfoColumnList]->addItem(QString::number(n));
    }
    AddComboItem();

    bindSettings();
}

void frmOption::buildDataPage(QWidget* page) {
    static const char* const captions[2] = {"運賃データ(*.hy3)のあるフォルダー：",
                                            "放送用データ(*****Tp.csv)のあるフォルダー："};
    static const char* const openCaptions[2] = {"上記運賃データの場所をエクスプローラで開く",
                                                "上記放送用データの場所をエクスプローラで開く"};
    for (int i = 0; i < 2; ++i) {
        const int top = 30 + 100 * i;
        addLabel(page, QString::fromUtf8(captions[i]), {16, top, 490, 16});
        Text2_[i] = addTextBox(page, arrayName("Text2", i), {16, top + 18, 460, 20});
        QPushButton* choose = addBrowseButton(page, arrayName("Command3", i), {480, top + 17});
        connect(choose, &QPushButton::clicked, this,
                [this, i] { putChoice(*Text2_[i], GetPathString(QString())); });
        auto* open = placed(new QPushButton(QString::fromUtf8(openCaptions[i]), page),
                            {16, top + 44, 300, 24});
        open->setObjectName(arrayName("Command10", i));
        connect(open, &QPushButton::clicked, this,
                [this, i] { Shell::openFolder(Text2_[i]->text()); });
    }
}

void frmOption::buildPanelPage(QWidget* page) {
    Check1_ = addCheck(page, QStringLiteral("Check1"),
                       QStringLiteral("整理券番号自動表示機能を使用"), {12, 20, 250, 18});

    QGroupBox* body = addFrame(page, QStringLiteral("本体パネル"), {8, 42, 255, 230});
    Option3_[PanelAuto] =
        addOption(body, arrayName("Option3", PanelAuto),
                  QStringLiteral("内蔵しているパネルを自動で割り当てる"), {10, 18, 240, 18});
    Option3_[PanelManual] = addOption(body, arrayName("Option3", PanelManual),
                                      QStringLiteral("個別に設定する"), {10, 38, 240, 18});
    static const char* const imageCaptions[3] = {"バックライトOFF時の画像：", "ON1の画像：",
                                                 "ON2の画像："};
    // The built-in and user buttons of the OFF, ON1 and ON2 images.
    static const PanelOption optionIndexes[3][2] = {
        {OffBuiltIn, OffUser}, {On1BuiltIn, On1User}, {On2BuiltIn, On2User}};
    for (int i = 0; i < 3; ++i) {
        QGroupBox* frame =
            addFrame(body, QString::fromUtf8(imageCaptions[i]), {8, 60 + 56 * i, 239, 54});
        imageFrames_[i] = frame;
        const int builtIn = optionIndexes[i][0], user = optionIndexes[i][1];
        Option3_[builtIn] = addOption(frame, arrayName("Option3", builtIn), QStringLiteral("内蔵"),
                                      {8, 15, 60, 16});
        Option3_[user] = addOption(frame, arrayName("Option3", user),
                                   QStringLiteral("ユーザーパネル"), {72, 15, 150, 16});
        makeGroup(frame, {Option3_[builtIn], Option3_[user]});
        txtSelectPanel_[i] = addTextBox(frame, arrayName("txtSelectPanel", i), {8, 32, 192, 19});
        QPushButton* choose = addBrowseButton(frame, arrayName("Command6", i), {203, 30});
        connect(choose, &QPushButton::clicked, this, [this, i] {
            putChoice(*txtSelectPanel_[i], KvRes::Kv3FileDlg(this, 0, pictureFilters(), QString(),
                                                             QStringLiteral("パネル画像の選択")));
        });
    }
    makeGroup(body, {Option3_[PanelAuto], Option3_[PanelManual]});
    for (QRadioButton* option : Option3_)
        connect(option, &QRadioButton::toggled, this, &frmOption::Option3_Click);
    Option3_Click();

    auto* frame3 = addFrame(page, QString(), {270, 14, 255, 258});
    frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3_ = frame3;
    addLabel(frame3, QStringLiteral("整理券番号表示設定"), {8, 10, 238, 16});
    Combo2_ = addList(frame3, QStringLiteral("Combo2"), {8, 27, 238, 20});
    Check2_ = addCheck(frame3, QStringLiteral("Check2"),
                       QStringLiteral("数字が1桁の番号は頭に0を付け足す"), {8, 54, 238, 18});
    addLabel(frame3, QStringLiteral("整理券番号のバックライトカラー(文字色)"), {8, 82, 238, 16});
    static const char* const colourCaptions[3] = {"OFF：", "ON1：", "ON2："};
    for (int i = 0; i < 3; ++i) {
        addLabel(frame3, QString::fromUtf8(colourCaptions[i]), {6 + 80 * i, 104, 34, 16});
        Command5_[i] = addColour(frame3, arrayName("Command5", i), {40 + 80 * i, 100});
        connect(Command5_[i], &QPushButton::clicked, this,
                [this, i] { GetBtnColor(*Command5_[i]); });
    }
    addLabel(
        frame3,
        QStringLiteral("※ユーザーパネルに直接番号をデザインしている場合には上記チェックをOFFにして"
                       "ください。"),
        {8, 134, 238, 48});
    Frame3_->setEnabled(false);
    connect(Check1_, &QCheckBox::stateChanged, this,
            [this](int state) { Frame3_->setEnabled(state != Qt::Unchecked); });

    // A yellow band behind the first line of the note.
    auto* band = placed(new QWidget(page), QRect(8, 277, 517, 15));
    band->setAutoFillBackground(true);
    QPalette yellow = band->palette();
    yellow.setColor(QPalette::Window, Qt::yellow);
    band->setPalette(yellow);
    addLabel(
        page,
        QStringLiteral("※ユーザーパネルには、現在の機種に対応の画像をご使用ください。大きいパネル"
                       "の場合、はみ出た部分（右・下）が切り取られます。逆に小さいパネルの場合は"
                       "左上から表示され、余白部分はグレーになりますのでご注意ください。"),
        {8, 277, 517, 52});
}

void frmOption::buildDigitPage(QWidget* page) {
    QGroupBox* colours = addFrame(
        page,
        QStringLiteral("デジタル部品の背景色と文字色（時計つきの場合はこの部分も同色となります）"),
        {8, 20, 517, 100});
    static const char* const captions[3] = {"背景色：", "未発光時の文字色：", "発光時の文字色："};
    for (int i = 0; i < 3; ++i) {
        addLabel(colours, QString::fromUtf8(captions[i]), {16, 24 + 25 * i, 120, 16});
        Command8_[i] = addColour(colours, arrayName("Command8", i), {140, 20 + 25 * i});
        connect(Command8_[i], &QPushButton::clicked, this, [this, i] {
            GetBtnColor(*Command8_[i]);
            ShowDegitPreview();
        });
    }
    addLabel(colours, QStringLiteral("プレビュー"), {280, 24, 100, 16});
    M_Degit1_ = new M_Degit(colours);
    M_Degit1_->setObjectName(QStringLiteral("M_Degit1"));
    M_Degit1_->move(280, 44);
    M_Degit1_->setUserSet(false);
    M_Degit1_->setValue(QStringLiteral("123"));

    QGroupBox* info = addFrame(page, QStringLiteral("情報用数字の設定"), {8, 128, 517, 132});
    for (int i = 0; i <= kInfoDigits; ++i)
        Combo4_[i] = addList(info, arrayName("Combo4", i), {0, 0, 52, 20});
    for (int i = 0; i <= kInfoDigits; ++i)
        Check3_[i] = addCheck(info, arrayName("Check3", i), QString(), {10, 20 + 26 * i, 100, 22});
    setCaptionAroundLists(
        *Check3_[InfoOrder],
        {QStringLiteral("停留所の順番（区間・個数）を、"), QStringLiteral("コマ目に表示する。")},
        {Combo4_[InfoOrder]});
    Check3_[kOrderFromZero]->setText(QStringLiteral("0から数える"));
    Check3_[kOrderFromZero]->setGeometry(Check3_[InfoOrder]->geometry().right() + 8,
                                         Check3_[InfoOrder]->y(), 110, 22);
    setCaptionAroundLists(*Check3_[InfoSeiriNum],
                          {QStringLiteral("整理券番号を、"), QStringLiteral("コマ目に表示する。")},
                          {Combo4_[InfoSeiriNum]});
    setCaptionAroundLists(*Check3_[InfoRoute],
                          {QStringLiteral("系統番号を、"), QStringLiteral("コマ目に表示する。")},
                          {Combo4_[InfoRoute]});
    setCaptionAroundLists(*Check3_[InfoColumnValue],
                          {QStringLiteral("データの"), QStringLiteral("列目の値を、"),
                           QStringLiteral("コマ目に表示する。")},
                          {Combo4_[kInfoColumnList], Combo4_[InfoColumnValue]});
    // The lists lie over their boxes' captions.
    for (QComboBox* list : Combo4_) {
        list->raise();
        list->setEnabled(false);
    }
    Check3_[kOrderFromZero]->setEnabled(false);
    // Each box unlocks its own list; the fare column's box also the column list.
    static const std::vector<int> dependents[kInfoDigits] = {
        {InfoOrder}, {InfoSeiriNum}, {InfoRoute}, {InfoColumnValue, kInfoColumnList}};
    for (int i = 0; i < kInfoDigits; ++i) {
        connect(Check3_[i], &QCheckBox::stateChanged, this, [this, i](int state) {
            for (int list : dependents[i])
                Combo4_[std::size_t(list)]->setEnabled(state != Qt::Unchecked);
            if (i == InfoOrder)
                Check3_[kOrderFromZero]->setEnabled(state != Qt::Unchecked);
        });
    }
    addLabel(
        page,
        QStringLiteral("デジタル数字の桁ずらし、ゼロ埋めの設定は各部品をダブルクリックして設定して"
                       "ください。また、これら情報用数字は運賃の表示よりも優先されます。"),
        {8, 270, 517, 48});
}

void frmOption::buildChimeiPage(QWidget* page) {
    static const char* const captions[2] = {"背景色：", "文字色："};
    for (int i = 0; i < 2; ++i) {
        addLabel(page, QString::fromUtf8(captions[i]), {16, 34 + 30 * i, 80, 16});
        Command9_[i] = addColour(page, arrayName("Command9", i), {100, 30 + 30 * i});
        connect(Command9_[i], &QPushButton::clicked, this,
                [this, i] { GetBtnColor(*Command9_[i]); });
    }
    addLabel(page, QStringLiteral("フォントオプション："), {16, 100, 200, 16});
    Combo3_ = addList(page, QStringLiteral("Combo3"), {16, 118, 300, 20});
    Combo3_->addItems({QStringLiteral("ゴシック体"), QStringLiteral("明朝体"),
                       QStringLiteral("漢字はゴシック、それ以外は明朝"),
                       QStringLiteral("漢字は明朝、それ以外はゴシック"),
                       QStringLiteral("英数字はゴシック、それ以外は明朝")});
    Check4_ = addCheck(page, QStringLiteral("Check4"),
                       QStringLiteral("太字（表示の不具合はサポート対象外）"), {16, 152, 400, 18});
}

QLineEdit* frmOption::addSoundChoice(QWidget* parent, int index, const QRect& box) {
    QLineEdit* text = addTextBox(parent, arrayName("txtSelectSound", index), box);
    txtSelectSound_[std::size_t(index)] = text;
    QPushButton* choose = addBrowseButton(parent, arrayName("cmdSelectSound", index),
                                          {box.right() + 4, box.top() - 1});
    connect(choose, &QPushButton::clicked, this, [this, text] {
        putChoice(*text, KvRes::Kv3FileDlg(this, 0, soundFilters(), QString(),
                                           QStringLiteral("サウンドの選択")));
    });
    return text;
}

void frmOption::buildSoundPage(QWidget* page) {
    addLabel(page, QStringLiteral("系統設定時のサウンド："), {10, 24, 140, 16});
    addSoundChoice(page, RouteSetSound, {150, 22, 330, 20});
    addLabel(page, QStringLiteral("リセット時のサウンド："), {10, 48, 140, 16});
    addSoundChoice(page, ResetSound, {150, 46, 330, 20});

    std::array<QPushButton*, 2> Option5{};
    Option5[1] = addPageButton(page, QStringLiteral("Option5(1)"),
                               QStringLiteral("送り・戻し時のサウンド..."), {10, 72, 170, 24});
    Option5[0] = addPageButton(page, QStringLiteral("Option5(0)"),
                               QStringLiteral("放送前のサウンド..."), {184, 72, 170, 24});
    addLabel(page,
             QStringLiteral(
                 "「放送前のサウンド」再生時は、停名のスクロールが停止することがありますので、"
                 "あらかじめご了承ください。"),
             {10, 100, 510, 30});

    soundPages_ = placed(new QStackedWidget(page), QRect(6, 130, 521, 198));
    auto* preSound = new QGroupBox(
        QStringLiteral(
            "放送前のサウンド：※音声合成放送機能が有効でない場合は以下の設定は意味を持ちま"
            "せん。"),
        soundPages_);
    preSound->setObjectName(QStringLiteral("Frame2(0)"));
    buildPreSoundPage(preSound);
    auto* stepSound = new QGroupBox(QStringLiteral("送り・戻し時のサウンド"), soundPages_);
    stepSound->setObjectName(QStringLiteral("Frame2(1)"));
    buildStepSoundPage(stepSound);
    soundPages_->addWidget(preSound);
    soundPages_->addWidget(stepSound);
    for (int k = 0; k < 2; ++k) {
        connect(Option5[k], &QPushButton::toggled, this, [this, k](bool on) {
            if (on)
                soundPages_->setCurrentIndex(k);
        });
    }
    makeGroup(page, {Option5[0], Option5[1]});
    Option5[1]->setChecked(true);
}

void frmOption::buildSoundSubPage(QWidget* page, const SoundSubPage& design) {
    const int first = design.alwaysOption;
    Option2_[first] = addOption(page, arrayName("Option2", first),
                                QStringLiteral("常に右記のサウンドを鳴らす"), {8, 18, 180, 18});
    addSoundChoice(page, design.alwaysSound, {190, 17, 284, 20});
    Option2_[first + 1] = addOption(page, arrayName("Option2", first + 1),
                                    QString::fromUtf8(design.byDataCaption), {8, 40, 505, 30});
    makeGroup(page, {Option2_[first], Option2_[first + 1]});
    for (int k = 0; k < 3; ++k) {
        const int top = design.valueRowsTop + 24 * k;
        addLabel(page, QStringLiteral("「%1」の場合").arg(k + 1), {28, top + 2, 68, 16});
        addSoundChoice(page, design.firstValueSound + k, {96, top, 170, 20});
    }
    QGroupBox* playing =
        addFrame(page, QStringLiteral("再生方法"), {306, design.valueRowsTop - 6, 207, 98});
    std::array<QRadioButton*, 2>& buttons = *design.playing;
    for (int k = 0; k < 2; ++k)
        buttons[k] =
            addOption(playing, arrayName(design.playingName, k),
                      QString::fromUtf8(design.playingCaptions[k]), {8, 16 + 40 * k, 192, 38});
    makeGroup(playing, {buttons[0], buttons[1]});
}

void frmOption::buildStepSoundPage(QWidget* page) {
    buildSoundSubPage(
        page, {.alwaysOption = StepAlways,
               .alwaysSound = StepSoundAlwaysBox,
               .byDataCaption = "運賃データ(*.hy3)の特定の列のデータから判断して、以下の指定した"
                                "サウンドを鳴らす（指定した列のデータの内容が1～3以外の場合は"
                                "サウンドは鳴りません）",
               .firstValueSound = StepSoundValueBox,
               .valueRowsTop = 100,
               .playing = &Option6_,
               .playingName = "Option6",
               .playingCaptions = {"同期再生(サウンドが完全に再生された後で運賃切り替え)",
                                   "非同期再生(サウンドを再生しながら運賃切り替え)"}});
    addLabel(page, QStringLiteral("運賃データの"), {28, 76, 74, 16});
    Combo1_ = addList(page, QStringLiteral("Combo1"), {102, 73, 56, 20});
    addLabel(page, QStringLiteral("列目"), {162, 76, 30, 16});
    addLabel(page, QStringLiteral("のデータが、"), {196, 76, 100, 16});
}

void frmOption::buildPreSoundPage(QWidget* page) {
    buildSoundSubPage(page,
                      {.alwaysOption = PreAlways,
                       .alwaysSound = PreSoundAlwaysBox,
                       .byDataCaption = "放送データ(*.Tp.csv)内のフラグから判断して、以下の指定した"
                                        "サウンドを鳴らす（フラグの内容が1～3以外の場合はサウンドは"
                                        "鳴りません）",
                       .firstValueSound = PreSoundValueBox,
                       .valueRowsTop = 78,
                       .playing = &Option7_,
                       .playingName = "Option7",
                       .playingCaptions = {"同期再生(サウンドが完全に再生された後で放送開始)",
                                           "非同期再生(サウンドを再生しながら放送開始)"}});
}

void frmOption::buildTicketPage(QWidget* page) {
    chkUseSeiriPrev_ =
        addCheck(page, QStringLiteral("chkUseSeiriPrev"),
                 QStringLiteral("整理券プレビュー機能を使用する"), {10, 20, 300, 18});

    Frame10_ = addFrame(page, QStringLiteral("整理券プラグイン設定"), {8, 42, 517, 152});
    Frame10_->setObjectName(QStringLiteral("Frame10"));
    addLabel(
        Frame10_,
        QStringLiteral("整理券プラグイン（整理券プレビューを使用しない場合は、何も入れないでくださ"
                       "い）："),
        {8, 18, 500, 30});
    txtSeiriPlgDir_ = addTextBox(Frame10_, QStringLiteral("txtSeiriPlgDir"), {8, 50, 438, 20});
    QPushButton* choose = addBrowseButton(Frame10_, QStringLiteral("Command1"), {450, 49});
    connect(choose, &QPushButton::clicked, this, &frmOption::Command1_Click);
    // A cross: the multiplication sign is in every Japanese face.
    auto* clear = placed(new QPushButton(QStringLiteral("×"), Frame10_), QRect(482, 49, 26, 22));
    clear->setObjectName(QStringLiteral("Command11"));
    connect(clear, &QPushButton::clicked, this, &frmOption::Command11_Click);
    addLabel(Frame10_, QStringLiteral("上記プラグインのプロパティ："), {8, 76, 245, 16});
    List1_ = placed(new QListWidget(Frame10_), QRect(8, 92, 245, 54));
    List1_->setObjectName(QStringLiteral("List1"));
    addLabel(Frame10_, QStringLiteral("上記プラグインの特記事項："), {262, 76, 246, 16});
    txtPlginComment_ = placed(new QPlainTextEdit(Frame10_), QRect(262, 92, 246, 54));
    txtPlginComment_->setObjectName(QStringLiteral("txtPlginComment"));
    txtPlginComment_->setReadOnly(true);
    txtPlginComment_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette grey = txtPlginComment_->palette();
    grey.setColor(QPalette::Base, QColor(192, 192, 192));
    txtPlginComment_->setPalette(grey);

    Frame7_ = addFrame(
        page,
        QStringLiteral("日付の設定（整理券プラグインが日付の印字をサポートしているときに有効）"),
        {8, 198, 517, 130});
    Frame7_->setObjectName(QStringLiteral("Frame7"));
    Option4_[0] = addOption(
        Frame7_, QStringLiteral("Option4(0)"),
        QStringLiteral("システムの日付を使用（整理券印字と同時に日付を更新、デフォルト）"),
        {8, 18, 500, 18});
    Option4_[1] = addOption(Frame7_, QStringLiteral("Option4(1)"),
                            QStringLiteral("システムの日付を使用（系統設定した時点の日付を保持）"),
                            {8, 38, 500, 18});
    addLabel(
        Frame7_,
        QStringLiteral("系統設定した際の日付が保持され、日付が途中で変わっても次回系統設定するま"
                       "で整理券の日付変更を行いません。"),
        {26, 58, 482, 30});
    Option4_[2] = addOption(Frame7_, QStringLiteral("Option4(2)"),
                            QStringLiteral("右記の日付に固定"), {8, 96, 140, 18});
    makeGroup(Frame7_, {Option4_[0], Option4_[1], Option4_[2]});
    Label10_ = placed(new QLabel(Frame7_), QRect(150, 94, 100, 22));
    Label10_->setObjectName(QStringLiteral("Label10"));
    Label10_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label10_->setAlignment(Qt::AlignCenter);
    auto* pickDate =
        placed(new QPushButton(QStringLiteral("日付選択..."), Frame7_), QRect(258, 94, 90, 22));
    pickDate->setObjectName(QStringLiteral("Command7"));
    connect(pickDate, &QPushButton::clicked, this, &frmOption::Command7_Click);

    auto showTicketFrames = [this](int state) {
        const bool on = state != Qt::Unchecked;
        for (QGroupBox* frame : {Frame10_, Frame7_}) {
            frame->setEnabled(on);
            frame->setVisible(on);
        }
    };
    showTicketFrames(Qt::Unchecked);
    connect(chkUseSeiriPrev_, &QCheckBox::stateChanged, this, showTicketFrames);
}

void frmOption::bindSettings() {
    panelSettings_ = {
        bindSetting(*Text2_[0], &IniRecord::FareDataDir),
        bindSetting(*Text2_[1], &IniRecord::TapeDataDir),
        bindSetting(*Check1_, &IniRecord::UseSeiriNum),
        bindSetting(*Command5_[0], &IniRecord::SeiriNumColorOff),
        bindSetting(*Command5_[1], &IniRecord::SeiriNumColorOn1),
        bindSetting(*Command5_[2], &IniRecord::SeiriNumColorOn2),
        bindSetting(*Combo2_, &IniRecord::SeiriNumStyle),
        bindSetting(*Check2_, &IniRecord::SeiriNumZeroPad),
        bindSetting(*Option3_[PanelAuto], &IniRecord::PanelAuto),
        bindSetting(*Option3_[PanelManual], &IniRecord::PanelManual),
        bindSetting(*Option3_[OffBuiltIn], &IniRecord::PanelOffBuiltIn),
        bindSetting(*Option3_[OffUser], &IniRecord::PanelOffUser),
        bindSetting(*Option3_[On1BuiltIn], &IniRecord::PanelOn1BuiltIn),
        bindSetting(*Option3_[On1User], &IniRecord::PanelOn1User),
        bindSetting(*Option3_[On2BuiltIn], &IniRecord::PanelOn2BuiltIn),
        bindSetting(*Option3_[On2User], &IniRecord::PanelOn2User),
        bindSetting(*txtSelectPanel_[0], &IniRecord::PanelImageOff),
        bindSetting(*txtSelectPanel_[1], &IniRecord::PanelImageOn1),
        bindSetting(*txtSelectPanel_[2], &IniRecord::PanelImageOn2),
    };
    digitSettings_ = {
        bindSetting(*Command8_[0], &IniRecord::DegitBackColor),
        bindSetting(*Command8_[1], &IniRecord::DegitBaseForeColor),
        bindSetting(*Command8_[2], &IniRecord::DegitForeColor),
        bindSetting(*Check3_[InfoOrder], &IniRecord::InfoOrderOn),
        bindSetting(*Combo4_[InfoOrder], &IniRecord::InfoOrderSlot),
        bindSetting(*Check3_[kOrderFromZero], &IniRecord::InfoOrderFromZero),
        bindSetting(*Check3_[InfoSeiriNum], &IniRecord::InfoSeiriNumOn),
        bindSetting(*Combo4_[InfoSeiriNum], &IniRecord::InfoSeiriNumSlot),
        bindSetting(*Check3_[InfoRoute], &IniRecord::InfoRouteOn),
        bindSetting(*Combo4_[InfoRoute], &IniRecord::InfoRouteSlot),
        bindSetting(*Check3_[InfoColumnValue], &IniRecord::InfoColumnOn),
        bindSetting(*Combo4_[kInfoColumnList], &IniRecord::InfoColumn),
        bindSetting(*Combo4_[InfoColumnValue], &IniRecord::InfoColumnSlot),
    };
    otherSettings_ = {
        bindSetting(*Command9_[0], &IniRecord::ChimeiBackColor),
        bindSetting(*Command9_[1], &IniRecord::ChimeiForeColor),
        bindSetting(*Combo3_, &IniRecord::ChimeiFontMode),
        bindSetting(*Check4_, &IniRecord::ChimeiFontBold),
        bindSetting(*txtSelectSound_[RouteSetSound], &IniRecord::SoundRouteSet),
        bindSetting(*txtSelectSound_[ResetSound], &IniRecord::SoundReset),
        bindSetting(*Option6_[0], &IniRecord::StepSoundSync),
        bindSetting(*Option6_[1], &IniRecord::StepSoundAsync),
        bindSetting(*Option2_[StepAlways], &IniRecord::StepSoundAlways),
        bindSetting(*Option2_[StepByColumn], &IniRecord::StepSoundByColumn),
        bindSetting(*txtSelectSound_[StepSoundAlwaysBox], &IniRecord::StepSoundFile),
        bindSetting(*Combo1_, &IniRecord::StepSoundColumn),
        bindSetting(*txtSelectSound_[StepSoundValueBox], &IniRecord::StepSoundFile1),
        bindSetting(*txtSelectSound_[StepSoundValueBox + 1], &IniRecord::StepSoundFile2),
        bindSetting(*txtSelectSound_[StepSoundValueBox + 2], &IniRecord::StepSoundFile3),
        bindSetting(*Option7_[0], &IniRecord::PreSoundSync),
        bindSetting(*Option7_[1], &IniRecord::PreSoundAsync),
        bindSetting(*Option2_[PreAlways], &IniRecord::PreSoundAlways),
        bindSetting(*Option2_[PreByFlag], &IniRecord::PreSoundByFlag),
        bindSetting(*txtSelectSound_[PreSoundAlwaysBox], &IniRecord::PreSoundFile),
        bindSetting(*txtSelectSound_[PreSoundValueBox], &IniRecord::PreSoundFile1),
        bindSetting(*txtSelectSound_[PreSoundValueBox + 1], &IniRecord::PreSoundFile2),
        bindSetting(*txtSelectSound_[PreSoundValueBox + 2], &IniRecord::PreSoundFile3),
        bindSetting(*chkUseSeiriPrev_, &IniRecord::UseSeiriPrev),
        bindSetting(*txtSeiriPlgDir_, &IniRecord::SeiriPlgFile),
        bindSetting(*Option4_[0], &IniRecord::DateUpdateOnPrint),
        bindSetting(*Option4_[1], &IniRecord::DateKeepAtRouteSet),
        bindSetting(*Option4_[2], &IniRecord::DateFixed),
        bindSetting(*Label10_, &IniRecord::FixedDate),
    };
    // The controls show the kept settings, with their handlers run. The dialog's own signals
    // stay quiet: the parts they tell were told when the settings were kept.
    const IniRecord kept = settings_.record;
    for (const auto* settings : {&panelSettings_, &digitSettings_, &otherSettings_})
        for (const SettingBinding& setting : *settings)
            setting.load(kept);
    ShowDegitPreview();
    {
        const QSignalBlocker quiet(this);
        SetPlgin(txtSeiriPlgDir_->text());
    }
    GetOptionInfo(settings_.record);
    for (auto* settings : {&panelSettings_, &digitSettings_, &otherSettings_})
        for (const SettingBinding& setting : *settings)
            if (setting.watch)
                setting.watch(*this, [this, &setting] { setting.save(settings_.record); });
}

QString frmOption::GetPathString(const QString&) {
    return KvRes::Kv3FolderDlg(this, QStringLiteral("フォルダーを選択してください"));
}

void frmOption::GetBtnColor(ColourButton& button) {
    quint32 colour = button.BackColor();
    if (KvRes::Kv3ChooseColor(this, colour, customColours_) != 0)
        button.setBackColor(colour);
}

void frmOption::SetProp() {
    PanelAppearance::applyDisplayChoices(panel_, currentSettings());
    emit backlightReapplyRequested();
}

void frmOption::AddComboItem() {
    for (int style = 0; style < SeirikenLabels::kStyleCount; ++style)
        Combo2_->addItem(SeirikenLabels::styleName(style));
}

void frmOption::GetOptionInfo(IniRecord& ini) const {
    for (const auto* settings : {&panelSettings_, &digitSettings_, &otherSettings_})
        for (const SettingBinding& setting : *settings)
            setting.save(ini);
}

void frmOption::SetOptionInfo(const IniRecord& ini) {
    // The fixed date's label says nothing of a new text: whatever loading got to, the record
    // is taken again from the controls.
    const struct Resync {
        frmOption& dialog;
        ~Resync() { dialog.GetOptionInfo(dialog.settings_.record); }
    } resync{*this};
    for (const SettingBinding& setting : panelSettings_)
        setting.load(ini);
    emit backlightReapplyRequested();
    for (const SettingBinding& setting : digitSettings_)
        setting.load(ini);
    ShowDegitPreview();
    for (const SettingBinding& setting : otherSettings_)
        setting.load(ini);
    SetPlgin(txtSeiriPlgDir_->text());
}

int frmOption::SetPlgin(const QString& path) {
    if (path.isEmpty())
        return 0;
    PlgInfo info{};
    if (KvRes::KV4_GetPlgInfo(path, info) == 0)
        return 0;
    KvRes::KV4_SetPlgComment(path, *txtPlginComment_);
    List1_->clear();
    List1_->addItems(PluginCapabilities::lines(info));
    emit previewSizeChosen(info.PrevWidth, info.PrevHeight);
    if (info.CorpSwitch >= 1)
        emit companyNamesOffered(path);
    return 2;
}

void frmOption::reject() {
    // Escape does not close the dialog: only "OK" does.
}

void frmOption::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void frmOption::ShowDegitPreview() {
    PanelAppearance::paintDegit(*M_Degit1_, currentSettings());
}

void frmOption::Option3_Click() {
    const bool manual = !Option3_[PanelAuto]->isChecked();
    for (QGroupBox* frame : imageFrames_) {
        frame->setEnabled(manual);
        frame->setVisible(manual);
    }
}

void frmOption::Command1_Click() {
    const QString path =
        KvRes::Kv3FileDlg(this, 0, plginFilters(), QString(), QStringLiteral("プラグインの選択"));
    if (path.isEmpty())
        return;
    emit companyListCleared();
    if (SetPlgin(path) == 0) {
        showMessageBox(this, QMessageBox::Critical, QStringLiteral("プラグインロードエラー"),
                       QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"),
                       QMessageBox::Ok, QString(), fileDetail(path));
        return;
    }
    txtSeiriPlgDir_->setText(path);
}

void frmOption::Command7_Click() {
    KvRes::DateRecord date;
    if (KvRes::Call_dlg111(this, date) == 0)
        return;
    Label10_->setText(QStringLiteral("%1/%2/%3")
                          .arg(date.year)
                          .arg(date.month, 2, 10, QLatin1Char('0'))
                          .arg(date.day, 2, 10, QLatin1Char('0')));
    settings_.record.FixedDate = Label10_->text();
}

void frmOption::Command11_Click() {
    txtSeiriPlgDir_->clear();
    List1_->clear();
    txtPlginComment_->clear();
}
