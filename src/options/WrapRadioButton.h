#pragma once

#include <QRadioButton>

// An option button whose caption breaks into lines to fit its width; a click anywhere on it
// chooses it.
class WrapRadioButton : public QRadioButton {
    Q_OBJECT
public:
    WrapRadioButton(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};
