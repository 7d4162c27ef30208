#pragma once

#include <QImage>
#include <QLabel>
#include <memory>

// A ticket-number label of the panel. At scale 1 it is a plain label; enlarged, it shows its
// scale-1 rendering over the panel picture with every pixel repeated, so the enlarged panel is
// the one the unit shows, not a larger font. That rendering is made again only when the text,
// the look or the picture behind changes.
class PanelLabel : public QLabel {
public:
    // The picture the label stands on, in the panel's own pixels; it must outlive the label.
    PanelLabel(QWidget* parent, const QImage& backdrop);
    ~PanelLabel() override;

    // Where the label stands on the picture, and the scale it is shown at; moves and resizes it
    // within its parent, whose picture starts at origin.
    void place(const QRect& onPicture, int scale, QPoint origin);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& backdrop_;
    QRect onPicture_;
    int scale_ = 1;
    // Made the first time the label is enlarged.
    std::unique_ptr<QLabel> twin_;
    QString renderedKey_;
    QImage shown_;
};
