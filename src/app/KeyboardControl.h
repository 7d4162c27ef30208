#pragma once

#include <QKeyCombination>
#include <QList>
#include <QObject>
#include <functional>
#include <vector>

class QAbstractButton;
class QWidget;

// Keys that work a panel while it, or another window it watches, is the active window, whatever
// control has the focus there: a key does what a click on its control does, and nothing when the
// mouse could not click that control either (disabled, or covered by another control). A key
// held down acts once, as a mouse button held down clicks once. Keys bound here are the panel's
// in those windows: a focused button does not also take them. Dialogs and menus keep their own
// keys, and a busy wait holds keys back as it holds clicks.
class KeyboardControl : public QObject {
public:
    // The panel whose controls the keys work; its keys are watched from the start.
    explicit KeyboardControl(QWidget& panel);
    ~KeyboardControl() override;

    // The keys click the first of the buttons that the mouse could click. Keys of the numeric
    // keypad count as the main keys. A key is bound once.
    void bind(const QList<QKeyCombination>& keys, const QList<QAbstractButton*>& buttons);
    // The keys run the action, which itself decides whether it can act.
    void bind(const QList<QKeyCombination>& keys, const std::function<void()>& action);
    // Keys pressed while that window is active work the panel too.
    void watch(const QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QList<QKeyCombination> keys;
        std::function<void()> action;
    };

    QWidget& panel_;
    QList<const QWidget*> windows_;
    std::vector<Binding> bindings_;
};
