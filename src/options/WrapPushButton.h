#pragma once

#include <QPushButton>

// A push button whose caption breaks into lines to fit, centred, as the page buttons of the
// options dialog show their long captions.
class WrapPushButton : public QPushButton {
    Q_OBJECT
public:
    WrapPushButton(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
