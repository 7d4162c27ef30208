#pragma once

#include <QHashFunctions>
#include <QImage>
#include <QVariant>
#include <QWidget>
#include <optional>

// A row of seven-segment digit positions: every position always shows its unlit "8", and the
// characters of the value are lit over them, right-aligned. Setters correct out-of-range values
// instead of refusing them; a setter marked "redraws" replaces the whole picture. A control on
// screen repaints only the pixels in which the new picture differs from the one it shows; one
// not yet shown draws its picture when it is first painted.
class M_Degit : public QWidget {
    Q_OBJECT
public:
    explicit M_Degit(QWidget* parent = nullptr);

    quint32 BaseForeColor() const { return baseForeColor_; }
    void setBaseForeColor(quint32 colour); // redraws
    quint32 DegitForeColor() const { return degitForeColor_; }
    void setDegitForeColor(quint32 colour); // redraws
    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 colour); // redraws

    int FillZero() const { return fillZero_; }
    void setFillZero(int value); // above Keta becomes Keta
    int ZeroMode() const { return zeroMode_; }
    void setZeroMode(int value); // 4 or more becomes 0
    int Shift() const { return shift_; }
    void setShift(int value); // clamped to 0 .. Keta - 1
    int Keta() const { return keta_; }
    void setKeta(int value); // outside 1..15 becomes 4; resizes and redraws
    int DegitSize() const { return degitSize_; }
    void setDegitSize(int value); // anything but 1..3 becomes 0; resizes and redraws
    int DegitStyle() const { return degitStyle_; }
    void setDegitStyle(int value); // redraws
    bool UserSet() const { return userSet_; }
    void setUserSet(bool value) { userSet_ = value; }

    const QVariant& Value() const { return value_; }
    void setValue(const QVariant& value); // redraws

    // Opens the digit settings dialog; whatever it hands back is taken as it is. Returns the
    // dialog's result, 1 for confirmed.
    int ShowSetDlg();

    // Blanks the display (false) or lights every segment (true) without disturbing the
    // formatting rules.
    void ResetDegit(bool nMode);

    // Pixel size of one digit cell for a size class.
    static QSize cellSize(int degitSize);

    // Shown enlarged, each pixel of the drawing a block of scale x scale; resizes.
    int scale() const { return scale_; }
    void setScale(int scale);

signals:
    void DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Everything the picture depends on: equal faces draw the same pixels.
    struct Face {
        QString text;
        quint32 unlitColour;
        quint32 litColour;
        quint32 backColour;
        int degitSize;
        int degitStyle;
        int keta;
        bool operator==(const Face&) const = default;
        friend size_t qHash(const Face& face, size_t seed = 0) {
            return qHashMulti(seed, face.text, face.unlitColour, face.litColour, face.backColour,
                              face.degitSize, face.degitStyle, face.keta);
        }
    };

    void resizeToCells();
    void redraw();
    // The picture of a face, drawn once and kept while it is in use.
    static QImage picture(const Face& face);
    static QImage DrawDegit(const Face& face);
    // Shows the picture, which differs from the one shown only within changed.
    void showPicture(const QImage& picture, const QRect& changed);

    quint32 baseForeColor_ = 0x969696;
    quint32 degitForeColor_ = 0x72D2F8;
    quint32 backColor_ = 0x808080;
    int fillZero_ = 0;
    int zeroMode_ = 0;
    int shift_ = 0;
    int keta_ = 4;
    int degitSize_ = 0;
    int degitStyle_ = 0;
    bool userSet_ = true;
    QVariant value_ = 0;
    int scale_ = 1;
    // The picture at one pixel per pixel, and as it is shown at the scale.
    QImage surface_;
    QImage shown_;
    // What the control is to show: nothing but its background until the first redraw.
    std::optional<Face> wanted_;
    // The surface no longer shows wanted_.
    bool stale_ = true;
};
