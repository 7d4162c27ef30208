#pragma once

#include <QPushButton>

// A push button without caption whose face colour is the value it stands for (0x00BBGGRR).
class ColourButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColourButton(QWidget* parent = nullptr);

    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 colour);

signals:
    void backColorChanged();

private:
    quint32 backColor_ = 0;
};
