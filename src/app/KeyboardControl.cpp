#include "KeyboardControl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

KeyboardControl::KeyboardControl(QWidget& panel) : QObject(&panel), panel_(panel) {
    watch(panel);
    // Seen before the focused control: a focused button must not take Space as well, nor a
    // radio button the arrows. A busy wait's input filter, installed later, sees keys first.
    QCoreApplication::instance()->installEventFilter(this);
}

KeyboardControl::~KeyboardControl() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void KeyboardControl::bind(const QList<QKeyCombination>& keys,
                           const QList<QAbstractButton*>& buttons) {
    bind(keys, [this, buttons] {
        // Where the mouse could click it: enabled, and the top control at its middle, so a
        // key of the input panel at the back does nothing.
        for (QAbstractButton* button : buttons) {
            const QWidget* top = panel_.childAt(button->mapTo(&panel_, button->rect().center()));
            if (button->isEnabled() && button->isAncestorOf(top)) {
                button->click();
                return;
            }
        }
    });
}

void KeyboardControl::bind(const QList<QKeyCombination>& keys,
                           const std::function<void()>& action) {
    bindings_.push_back({keys, action});
}

void KeyboardControl::watch(const QWidget& window) {
    windows_.append(&window);
}

bool KeyboardControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const QWidget* window = static_cast<QWidget*>(watched)->window();
    if (!windows_.contains(window) || !window->isEnabled() ||
        QApplication::activeModalWidget() != nullptr)
        return false;
    const auto* press = static_cast<QKeyEvent*>(event);
    const QKeyCombination key(press->modifiers() & ~Qt::KeypadModifier, Qt::Key(press->key()));
    for (const Binding& binding : bindings_)
        if (binding.keys.contains(key)) {
            if (!press->isAutoRepeat())
                binding.action();
            return true;
        }
    return false;
}
