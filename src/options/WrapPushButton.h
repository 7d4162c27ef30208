#pragma once

#include <QPushButton>

// A push button whose caption breaks into lines to fit, centred, as the page buttons of the
// options dialog show their long captions.
class WrapPushButton : public QPushButton {
    Q_OBJECT
public:
    WrapPushButton(const QString& text, QWidget* parent);

    // Where a caption that does not fit on one line breaks: after this many characters
    // ("データ|戻し"). Without it the caption breaks wherever the line is full.
    void setBreakAfter(int characters) { breakAfter_ = characters; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int breakAfter_ = 0;
};
