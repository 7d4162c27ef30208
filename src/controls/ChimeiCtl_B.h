#pragma once

#include "controls/ChimeiScroll.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

class QFrame;

// The stop-name strip: a tall LED dot matrix showing the next stop in vertical writing. Names
// of up to six cells stand still, spread over the strip; longer names scroll upwards through
// it in an endless loop (at most ChimeiLayout::kMaxCells cells of them). The visible strip
// (Picture2) shows a canvas (Picture1) that holds the drawn dots, at the scroll's height. Colours
// are 0x00BBGGRR.
class ChimeiCtl_B : public QWidget {
    Q_OBJECT
public:
    explicit ChimeiCtl_B(QWidget* parent = nullptr);

    // Properties as stored with a form that holds the control.
    struct StoredProperties {
        quint32 BackColor = 0x808080;
        quint32 ForeColor = 0x00BEFF;
        int Speed = 5;
        int ScrollStartWait = 1500;
        int Mode = 2;
        int Appearance = 1;
        int FontMode = 0;
        bool FontBold = false;
    };
    // Loading keeps the strip's size; only setting Appearance afterwards resizes it.
    void ReadProperties(const StoredProperties& stored);

    quint32 BackColor() const { return properties_.BackColor; }
    void setBackColor(quint32 colour); // clears the canvas
    quint32 ForeColor() const { return properties_.ForeColor; }
    void setForeColor(quint32 colour) { properties_.ForeColor = colour; }
    int Speed() const { return properties_.Speed; }
    void setSpeed(int value) { properties_.Speed = value; }
    int ScrollStartWait() const { return properties_.ScrollStartWait; }
    void setScrollStartWait(int milliseconds) { properties_.ScrollStartWait = milliseconds; }
    int Mode() const { return properties_.Mode; }
    void setMode(int value) { properties_.Mode = value; }
    int Appearance() const { return properties_.Appearance; }
    void setAppearance(int value); // resizes the strip
    int FontMode() const { return properties_.FontMode; }
    void setFontMode(int value) { properties_.FontMode = value; }
    bool FontBold() const { return properties_.FontBold; }
    void setFontBold(bool value) { properties_.FontBold = value; }

    void Refresh();
    // Shows a stop name; the empty text blanks the strip.
    void SetChimei(const QString& strText);
    // Renders the characters of names shown later (a route's, while its lamp test is lit), so
    // that a step draws its name from characters already rendered.
    void prepareNames(const QStringList& names);
    // Draws one cell at (X, Y) of the canvas; the long-vowel mark is replaced in strText.
    void DrawDot16(int X, int Y, QString& strText);

    // What the scroll timer runs: moves the canvas to where the clock says it is.
    void scrollTick();
    // Milliseconds of a steady clock; tests hand in one they control.
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }
    bool scrolling() const { return scroll_.running(); }
    const QTimer& scrollTimer() const { return scrollTimer_; }

    // Shown enlarged, each dot of the strip a block of scale x scale pixels; the canvas still
    // moves by whole dots. The strip's own size is its holder's to set.
    int scale() const { return scale_; }
    void setScale(int scale);

    // The canvas, its top in the viewport and the viewport's inner height, in dots.
    const QImage& canvas() const { return canvas_; }
    int canvasTop() const;
    int viewportHeight() const;

private:
    void applyAppearance(int value);
    void clearCanvas(int height);
    void moveCanvas(int top);
    void fitView();
    void armScrollTimer(qint64 now);

    // What the canvas was drawn from: the same name with the same looks is not drawn again.
    struct Drawn {
        QString name;
        quint32 backColor;
        quint32 foreColor;
        int mode;
        int fontMode;
        bool fontBold;
        int viewportHeight;
        bool operator==(const Drawn&) const = default;
    };

    // Canvases of names drawn lately, the newest first: a name seen again is not drawn again.
    struct Kept {
        Drawn drawn;
        QImage canvas;
        int cells;
    };
    bool showKept(const Drawn& wanted);

    StoredProperties properties_;
    QFrame* picture2_;
    class CanvasView;
    CanvasView* picture1_;
    QImage canvas_;
    std::optional<Drawn> drawn_;
    int drawnCells_ = 0;
    QList<Kept> kept_;
    ChimeiScroll scroll_;
    QTimer scrollTimer_;
    std::function<qint64()> clock_;
    int top_ = 0;
    int scale_ = 1;
};
