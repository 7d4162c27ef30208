#include "PanelViewControl.h"

#include "panel/Form1.h"
#include "panel/Q57Layout.h"
#include "platform/KvRes.h"
#include "platform/OleColor.h"
#include "platform/OnScreen.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <algorithm>

namespace {

QColor fromRgb(quint32 rgb) {
    return QColor(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

quint32 toRgb(const QColor& colour) {
    return quint32(colour.red()) << 16 | quint32(colour.green()) << 8 | quint32(colour.blue());
}

} // namespace

PanelViewControl::PanelViewControl(Form1& form, QString viewFile)
    : QObject(&form), form_(form), viewFile_(std::move(viewFile)),
      view_(PanelView::read(viewFile_)), menu_(new QMenu(&form)) {
    menu_->setObjectName(QStringLiteral("panelViewMenu"));
    for (int s = PanelView::kMinScale; s <= PanelView::kMaxScale; ++s) {
        QAction* action =
            addKeyAction(QStringLiteral("scale%1").arg(s), QStringLiteral("%1 倍").arg(s),
                         s == 1 ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_0)}
                                : QList<QKeySequence>{});
        connect(action, &QAction::triggered, this, [this, s] { chooseScale(s); });
        scaleActions_[std::size_t(s)] = action;
    }
    fit_ = addKeyAction(QStringLiteral("scaleFit"), QStringLiteral("画面に合わせる"), {});
    connect(fit_, &QAction::triggered, this, [this] {
        PanelView chosen = view_;
        chosen.fit = true;
        chosen.fullScreen = false;
        choose(chosen);
    });
    // Ctrl and = is Ctrl and + without Shift on most keyboards.
    connect(addKeyAction(
                QStringLiteral("scaleUp"), QStringLiteral("拡大"),
                {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}),
            &QAction::triggered, this, [this] { chooseScale(windowScale() + 1); });
    connect(addKeyAction(QStringLiteral("scaleDown"), QStringLiteral("縮小"),
                         {QKeySequence(Qt::CTRL | Qt::Key_Minus)}),
            &QAction::triggered, this, [this] { chooseScale(windowScale() - 1); });
    connect(addKeyAction(QStringLiteral("fullScreenToggle"), QStringLiteral("全画面表示"),
                         {QKeySequence(Qt::Key_F11)}),
            &QAction::triggered, this, [this] {
                PanelView chosen = view_;
                chosen.fullScreen = !form_.panelFullScreen();
                // The screen chosen last when it is still there, else the panel's own.
                const QList<OnScreen::Screen> screens = OnScreen::screens();
                if (std::none_of(screens.begin(), screens.end(),
                                 [&](const auto& screen) { return screen.name == chosen.screen; }))
                    chosen.screen = currentScreen();
                choose(chosen);
            });
    leave_ = addKeyAction(QStringLiteral("leaveFullScreen"), QStringLiteral("ウィンドウで表示"),
                          {QKeySequence(Qt::Key_Escape)});
    leave_->setEnabled(false);
    connect(leave_, &QAction::triggered, this, [this] {
        PanelView chosen = view_;
        chosen.fullScreen = false;
        choose(chosen);
    });

    form_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&form_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        fillMenu();
        menu_->popup(form_.mapToGlobal(at));
    });
    connect(&OnScreen::events(), &OnScreen::ScreenEvents::removed, this,
            &PanelViewControl::screenRemoved);
}

// Keys work while the panel is the active window; Esc only while it is full screen, since the
// operating panel's keys have it otherwise.
QAction* PanelViewControl::addKeyAction(const QString& name, const QString& text,
                                        const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    form_.addAction(action);
    return action;
}

void PanelViewControl::fillMenu() {
    menu_->clear();
    for (int s = PanelView::kMinScale; s <= PanelView::kMaxScale; ++s) {
        QAction* action = scaleActions_[std::size_t(s)];
        action->setCheckable(true);
        action->setChecked(!form_.panelFullScreen() && !view_.fit && form_.scale() == s);
        menu_->addAction(action);
    }
    fit_->setCheckable(true);
    fit_->setChecked(!form_.panelFullScreen() && view_.fit);
    menu_->addAction(fit_);
    menu_->addSeparator();

    for (const OnScreen::Screen& screen : OnScreen::screens()) {
        QAction* action = menu_->addAction(QStringLiteral("全画面: %1 (%2 × %3)")
                                               .arg(screen.name)
                                               .arg(screen.geometry.width())
                                               .arg(screen.geometry.height()));
        action->setObjectName(QStringLiteral("fullScreen:") + screen.name);
        action->setCheckable(true);
        action->setChecked(form_.panelFullScreen() && fullScreenOn_ == screen.name);
        connect(action, &QAction::triggered, this, [this, name = screen.name] {
            PanelView chosen = view_;
            chosen.fullScreen = true;
            chosen.screen = name;
            choose(chosen);
        });
    }
    menu_->addAction(leave_);
    menu_->addSeparator();

    const struct {
        const char* name;
        QString text;
        quint32 colour;
    } backgrounds[] = {
        {"backgroundBlack", QStringLiteral("背景: 黒"), PanelView::kBlack},
        {"backgroundGreen", QStringLiteral("背景: 緑 (#00FF00)"), PanelView::kGreen},
        {"backgroundBlue", QStringLiteral("背景: 青 (#0000FF)"), PanelView::kBlue},
    };
    bool known = false;
    for (const auto& background : backgrounds) {
        QAction* action = menu_->addAction(background.text);
        action->setObjectName(QLatin1String(background.name));
        action->setCheckable(true);
        action->setChecked(view_.background == background.colour);
        known = known || action->isChecked();
        connect(action, &QAction::triggered, this, [this, colour = background.colour] {
            PanelView chosen = view_;
            chosen.background = colour;
            choose(chosen);
        });
    }
    QAction* other = menu_->addAction(QStringLiteral("背景: その他の色..."));
    other->setObjectName(QStringLiteral("backgroundOther"));
    other->setCheckable(true);
    other->setChecked(!known);
    connect(other, &QAction::triggered, this, &PanelViewControl::chooseOtherColour);
}

void PanelViewControl::apply() {
    show();
}

void PanelViewControl::choose(const PanelView& view) {
    view_ = view;
    show();
    // A choice the folder cannot keep still holds for this run.
    static_cast<void>(view_.write(viewFile_));
}

void PanelViewControl::show() {
    form_.setBackground(fromRgb(view_.background));
    const QList<OnScreen::Screen> screens = OnScreen::screens();
    const auto target =
        std::find_if(screens.begin(), screens.end(), [this](const OnScreen::Screen& screen) {
            return screen.name == (view_.screen.isEmpty() ? currentScreen() : view_.screen);
        });
    if (view_.fullScreen && target != screens.end()) {
        fullScreenOn_ = target->name;
        fullScreenScreen_ = OnScreen::find(target->name);
        form_.showFullScreenOn(target->geometry, fullScreenScreen_);
        leave_->setEnabled(true);
        return;
    }
    showWindow();
}

void PanelViewControl::showWindow() {
    fullScreenOn_.clear();
    leave_->setEnabled(false);
    form_.leaveFullScreen(windowScale());
    form_.setScale(windowScale());
}

int PanelViewControl::windowScale() const {
    if (!view_.fit)
        return view_.scale;
    for (const OnScreen::Screen& screen : OnScreen::screens())
        if (screen.name == currentScreen())
            return PanelView::fitScale(screen.available.size(), Q57Layout::kPanelSize);
    return PanelView::kMinScale;
}

// The window system's screen for the panel where it knows it (its screens may all start at the
// same corner); otherwise the screen under the panel's middle, or the first.
QString PanelViewControl::currentScreen() const {
    const QList<OnScreen::Screen> screens = OnScreen::screens();
    if (screens.isEmpty())
        return {};
    for (const OnScreen::Screen& screen : screens)
        if (form_.screen() != nullptr && screen.name == OnScreen::nameOf(form_.screen()))
            return screen.name;
    const QPoint middle = form_.frameGeometry().center();
    for (const OnScreen::Screen& screen : screens)
        if (screen.geometry.contains(middle))
            return screen.name;
    return screens.first().name;
}

void PanelViewControl::chooseScale(int scale) {
    PanelView chosen = view_;
    chosen.scale = std::clamp(scale, PanelView::kMinScale, PanelView::kMaxScale);
    chosen.fit = false;
    chosen.fullScreen = false;
    choose(chosen);
}

void PanelViewControl::chooseOtherColour() {
    const QColor now = fromRgb(view_.background);
    quint32 colour = OleColor::fromQColor(now);
    if (KvRes::Kv3ChooseColor(&form_, colour, customColours_) == 0)
        return;
    PanelView chosen = view_;
    chosen.background = toRgb(OleColor::toQColor(colour));
    choose(chosen);
}

void PanelViewControl::screenRemoved() {
    const QList<OnScreen::Screen> screens = OnScreen::screens();
    const bool stillThere = std::any_of(screens.begin(), screens.end(),
                                        [this](const OnScreen::Screen& screen) {
                                            return screen.name == fullScreenOn_;
                                        }) &&
                            OnScreen::find(fullScreenOn_) == fullScreenScreen_;
    if (!form_.panelFullScreen() || stillThere)
        return;
    // Back to a window on a screen still there; the choice stays for when it is plugged in again.
    showWindow();
    OnScreen::keep(form_, ScreenFit::Fit::Reachable);
}
