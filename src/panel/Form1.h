#pragma once

#include "panel/DisplayPanel.h"
#include "platform/WindowDrag.h"
#include "settings/IniData.h"

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>

class ChimeiCtl_B;
class M_Degit;
class PanelLabel;
class QLabel;
class QScreen;
class QTime;

// The fare display panel: a borderless window whose face is the picture of the unit's front,
// with the 61 fare positions, their ticket-number labels and the (hidden) clock laid over it.
class Form1 : public QWidget, public DisplayPanel {
    Q_OBJECT
public:
    Form1();
    ~Form1() override;

    // Control arrays: fare digits and labels 1 to 61 (0 is a hidden spare), clock digits 0 and 1;
    // an index outside the array is an error 9.
    M_Degit& Degit(int index) const;
    QLabel& lblSeiriNum(int index) const;
    M_Degit& TimeDegit(int index) const;
    QImage& imgRes(int index);
    QTimer& Timer1() { return timer1_; }
    ChimeiCtl_B& ChimeiCtl() const { return *chimeiCtl_; }

    // The window's background picture.
    const QImage& Picture() const { return picture_; }
    void setPicture(const QImage& picture);

    void GetFormInfo(IniRecord& ini) const;
    void SetFormInfo(const IniRecord& ini);
    // The shape stays with the window until it is destroyed; nothing to release.
    void DeleteRgn() {}

    // Each pixel of the panel is shown as a block of scale x scale screen pixels.
    int scale() const { return scale_; }
    // In a window: the window takes the panel's size at that scale, its top left staying.
    void setScale(int scale);
    // Where the panel's top left stands in the window: off the corner only full screen.
    QPoint origin() const { return origin_; }
    // Full screen: the area (a screen's geometry) filled, the panel centred in it at the
    // largest whole scale that fits, the rest in the background colour. The screen is the
    // window system's one, nullptr for none (a screen a test made). Leaving puts the window
    // back where it was, at the scale given.
    void showFullScreenOn(const QRect& area, QScreen* screen);
    void leaveFullScreen(int scale);
    bool panelFullScreen() const { return fullScreen_; }
    const QColor& background() const { return background_; }
    void setBackground(const QColor& colour);

    // The clock tick for a given time of day.
    void ShowTime(const QTime& time);

    void setFare(int position, const QVariant& value) override;
    void setStripName(const QString& name) override;
    void prepareStripNames(const QStringList& names) override;
    void lampTest() override;
    void blank() override;
    void unblank() override;

signals:
    // The digit settings dialog opens (true) and closes (false): the operating panel is locked
    // meanwhile.
    void digitSettingsOpen(bool open);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Degit_DblClick(int index);
    void placeParts(int scale, QPoint origin);
    QRegion shape() const;

    std::array<M_Degit*, 62> degit_{};
    std::array<PanelLabel*, 62> lblSeiriNum_{};
    std::array<M_Degit*, 2> timeDegit_{};
    ChimeiCtl_B* chimeiCtl_;
    std::array<QImage, 3> imgRes_;
    QImage picture_;
    QTimer timer1_;
    WindowDrag drag_;
    int scale_ = 1;
    QPoint origin_;
    bool fullScreen_ = false;
    QPoint windowedPos_;
    QColor background_ = Qt::black;
};
