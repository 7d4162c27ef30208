#include "M_Degit.h"

#include "controls/DegitFormat.h"
#include "controls/PixelBlocks.h"
#include "controls/SegmentFont.h"
#include "platform/KvRes.h"
#include "platform/OleColor.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>

namespace {

// No OS-version record exists here, so the modern-platform choice holds: no extra spacing
// between characters and the bold weight of the face.
constexpr bool kUseBold = true;

// The text is drawn one pixel above the control's top edge.
constexpr int kTextTop = -1;

// The face size of each size class; the faces' cells are exactly the control's digit cells.
int pointSize(int degitSize) {
    switch (degitSize) {
    case 1:
        return 24;
    case 2:
        return 27;
    case 3:
        return 14;
    default:
        return 18;
    }
}

QString faceName(int degitStyle) {
    switch (degitStyle) {
    case 1:
        return QStringLiteral("M_DegitB");
    case 2:
        return QStringLiteral("M_DegitC");
    default:
        return QStringLiteral("M_DegitA");
    }
}

} // namespace

M_Degit::M_Degit(QWidget* parent) : QWidget(parent) {
    // The surface covers the whole control: a changed digit repaints only itself, never the
    // panel behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resizeToCells();
}

QSize M_Degit::cellSize(int degitSize) {
    const SegmentFont font(faceName(0), pointSize(degitSize), kUseBold);
    return {font.advance(), font.height()};
}

void M_Degit::setBaseForeColor(quint32 colour) {
    baseForeColor_ = colour;
    redraw();
}

void M_Degit::setDegitForeColor(quint32 colour) {
    degitForeColor_ = colour;
    redraw();
}

void M_Degit::setBackColor(quint32 colour) {
    backColor_ = colour;
    redraw();
}

void M_Degit::setFillZero(int value) {
    // A negative zero fill has no meaning; it is kept at 0 so the fill never goes wrong.
    fillZero_ = qBound(0, value, keta_);
}

void M_Degit::setZeroMode(int value) {
    zeroMode_ = value >= 4 ? 0 : value;
}

void M_Degit::setShift(int value) {
    shift_ = qMax(0, qMin(value, keta_ - 1));
}

void M_Degit::setKeta(int value) {
    keta_ = value < 1 || value > 15 ? 4 : value;
    resizeToCells();
    redraw();
}

void M_Degit::setDegitSize(int value) {
    degitSize_ = value >= 1 && value <= 3 ? value : 0;
    resizeToCells();
    redraw();
}

void M_Degit::setDegitStyle(int value) {
    degitStyle_ = value;
    redraw();
}

void M_Degit::setValue(const QVariant& value) {
    value_ = value;
    redraw();
}

int M_Degit::ShowSetDlg() {
    const int result = KvRes::Call_dlg100(this, keta_, zeroMode_, shift_, fillZero_);
    redraw();
    return result;
}

void M_Degit::ResetDegit(bool nMode) {
    const int shift = shift_, zeroMode = zeroMode_, fillZero = fillZero_;
    shift_ = zeroMode_ = fillZero_ = 0;
    setValue(nMode ? QVariant(QString(keta_, QLatin1Char('8'))) : QVariant(QString()));
    shift_ = shift;
    zeroMode_ = zeroMode;
    fillZero_ = fillZero;
}

void M_Degit::setScale(int scale) {
    scale_ = scale;
    shown_ = PixelBlocks::enlarged(surface_, scale_);
    setFixedSize(surface_.size() * scale_);
}

void M_Degit::resizeToCells() {
    const QSize cell = cellSize(degitSize_);
    const QSize picture(keta_ * cell.width(), cell.height());
    if (surface_.size() != picture) {
        surface_ = QImage(picture, QImage::Format_RGB32);
        stale_ = true;
    }
    setFixedSize(surface_.size() * scale_);
}

void M_Degit::redraw() {
    // The text is formatted now: a reset shows its value with the rules off, whenever it is
    // painted.
    const Face face{DegitFormat::visibleText(value_, {zeroMode_, fillZero_, shift_, keta_}),
                    baseForeColor_,
                    degitForeColor_,
                    backColor_,
                    degitSize_,
                    degitStyle_,
                    keta_};
    if (face == wanted_ && !stale_)
        return;
    wanted_ = face;
    if (!isVisible()) {
        // Whatever it is told before it is shown, it is drawn once, when it is first painted.
        stale_ = true;
        return;
    }
    const QImage next = picture(face);
    // A surface not drawn yet is not what the screen holds: all of it is painted.
    const QRect changed = stale_ ? next.rect() : PixelBlocks::changedRect(surface_, next);
    showPicture(next, changed);
    if (changed.isEmpty())
        return;
    // The same rows for every change of text keep the repainted parts of a row of digits in one
    // band, which the window system joins at no cost; and they leave out the edges that the
    // ticket-number labels overlap, which would be repainted too.
    const SegmentFont font(faceName(face.degitStyle), pointSize(face.degitSize), kUseBold);
    const QRect ink(changed.left(), kTextTop + font.inkTop(), changed.width(),
                    font.inkBottom() - font.inkTop());
    const QRect repainted =
        ink.contains(changed) ? ink : QRect(changed.left(), 0, changed.width(), next.height());
    update(QRect(repainted.topLeft() * scale_, repainted.size() * scale_));
}

QImage M_Degit::picture(const Face& face) {
    // A step shows the faces of the stops before it again; a colour set keeps only a few hundred.
    static QHash<Face, QImage> pictures;
    const auto found = pictures.constFind(face);
    if (found != pictures.constEnd())
        return *found;
    constexpr qsizetype kMostKept = 256;
    if (pictures.size() >= kMostKept)
        pictures.clear();
    return *pictures.insert(face, DrawDegit(face));
}

QImage M_Degit::DrawDegit(const Face& face) {
    const SegmentFont font(faceName(face.degitStyle), pointSize(face.degitSize), kUseBold);
    QImage surface(face.keta * font.advance(), font.height(), QImage::Format_RGB32);
    surface.fill(OleColor::toQColor(face.backColour));
    QPainter painter(&surface);
    font.draw(painter, 0, kTextTop, QString(face.keta, QLatin1Char('8')),
              OleColor::toQColor(face.unlitColour));
    font.draw(painter, surface.width() - font.horizontalAdvance(face.text), kTextTop, face.text,
              OleColor::toQColor(face.litColour));
    return surface;
}

void M_Degit::showPicture(const QImage& picture, const QRect& changed) {
    surface_ = picture;
    if (scale_ > 1 && shown_.size() == picture.size() * scale_)
        PixelBlocks::enlargePart(shown_, picture, changed, scale_);
    else
        shown_ = PixelBlocks::enlarged(picture, scale_);
    stale_ = false;
}

void M_Degit::paintEvent(QPaintEvent*) {
    if (stale_) {
        if (wanted_) {
            const QImage next = picture(*wanted_);
            showPicture(next, next.rect());
        } else {
            QImage blank(surface_.size(), QImage::Format_RGB32);
            blank.fill(OleColor::toQColor(backColor_));
            showPicture(blank, blank.rect());
        }
    }
    QPainter(this).drawImage(0, 0, shown_);
}

void M_Degit::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit DblClick();
}

void M_Degit::mousePressEvent(QMouseEvent* event) {
    // A press on a digit is the digit's own; the panel behind it must not start a drag.
    event->accept();
}
