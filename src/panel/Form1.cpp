#include "Form1.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "panel/LabelLook.h"
#include "panel/PanelLabel.h"
#include "panel/PanelView.h"
#include "panel/Q57Layout.h"
#include "platform/RuntimeError.h"
#include "platform/WindowShape.h"
#include "settings/DefaultSettings.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResource>
#include <QTime>
#include <QWindow>

namespace {

template <typename Array> auto& element(const Array& array, int index) {
    RuntimeError::checkSubscript(index, 0, int(array.size()) - 1);
    return *array[std::size_t(index)];
}

PanelLabel* makeLabel(QWidget* parent, const QImage& backdrop, const QRect& rect, const QFont& font,
                      const QPalette& palette) {
    auto* label = new PanelLabel(parent, backdrop);
    label->place(rect, 1, {});
    label->setAlignment(Qt::AlignCenter);
    label->setFont(font);
    label->setPalette(palette);
    return label;
}

// The panel picture as the build stored it: raw pixels, uncompressed, read in place.
QImage panelPicture() {
    const QResource pixels(QStringLiteral(":/panel.rgb32"));
    const QSize size = Q57Layout::kPanelSize;
    if (pixels.compressionAlgorithm() != QResource::NoCompression ||
        pixels.size() != qint64(size.width()) * size.height() * 4)
        return QImage();
    return QImage(pixels.data(), size.width(), size.height(), QImage::Format_RGB32);
}

} // namespace

Form1::Form1() : drag_(*this) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(Q57Layout::kPanelSize);
    imgRes_[0] = panelPicture();

    degit_[0] = new M_Degit(this);
    degit_[0]->move(Q57Layout::kSpareDegitTopLeft);
    degit_[0]->hide();
    // Until the settings are applied, the colour of a first start with the backlight off.
    // One face and one palette shared by all the labels, not made again for each.
    const QFont labelFont = LabelLook::font(11.25);
    const QPalette labelPalette =
        LabelLook::coloured(palette(), DefaultSettings::record().SeiriNumColorOff);
    lblSeiriNum_[0] =
        makeLabel(this, picture_, Q57Layout::kSpareLabelRect, labelFont, labelPalette);
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
        degit_[n] = new M_Degit(this);
        degit_[n]->move(Q57Layout::fareTopLeft(n));
        connect(degit_[n], &M_Degit::DblClick, this, [this, n] { Degit_DblClick(n); });
        lblSeiriNum_[n] =
            makeLabel(this, picture_, Q57Layout::labelRect(n), labelFont, labelPalette);
    }
    for (int i = 0; i < 2; ++i) {
        timeDegit_[i] = new M_Degit(this);
        timeDegit_[i]->setKeta(2);
        timeDegit_[i]->move(Q57Layout::kClockTopLeft[i]);
        timeDegit_[i]->hide();
    }

    chimeiCtl_ = new ChimeiCtl_B(this);
    chimeiCtl_->setGeometry(Q57Layout::kChimeiRect);
    ChimeiCtl_B::StoredProperties stored;
    stored.ForeColor = 0x80C0FF;
    stored.Appearance = 0;
    chimeiCtl_->ReadProperties(stored);

    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, [this] { ShowTime(QTime::currentTime()); });
}

Form1::~Form1() = default;

M_Degit& Form1::Degit(int index) const {
    return element(degit_, index);
}

QLabel& Form1::lblSeiriNum(int index) const {
    return element(lblSeiriNum_, index);
}

M_Degit& Form1::TimeDegit(int index) const {
    return element(timeDegit_, index);
}

QImage& Form1::imgRes(int index) {
    RuntimeError::checkSubscript(index, 0, int(imgRes_.size()) - 1);
    return imgRes_[std::size_t(index)];
}

void Form1::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void Form1::GetFormInfo(IniRecord& ini) const {
    // Full screen the window is where it is only for now: its place is the one it goes back to.
    const QPoint at = fullScreen_ ? windowedPos_ : pos();
    ini.DispLeft = at.x() * Q57Layout::kTwipsPerPixel;
    ini.DispTop = at.y() * Q57Layout::kTwipsPerPixel;
}

void Form1::SetFormInfo(const IniRecord& ini) {
    move(ini.DispLeft / Q57Layout::kTwipsPerPixel, ini.DispTop / Q57Layout::kTwipsPerPixel);
}

void Form1::ShowTime(const QTime& time) {
    const QString text = time.toString(QStringLiteral("hh:mm:ss"));
    timeDegit_[0]->setValue(text.mid(0, 2).toInt());
    timeDegit_[1]->setValue(text.mid(3, 2).toInt());
}

void Form1::setFare(int position, const QVariant& value) {
    Degit(position).setValue(value);
}

void Form1::setStripName(const QString& name) {
    chimeiCtl_->SetChimei(name);
}

void Form1::prepareStripNames(const QStringList& names) {
    chimeiCtl_->prepareNames(names);
}

void Form1::lampTest() {
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n)
        degit_[std::size_t(n)]->ResetDegit(true);
}

void Form1::blank() {
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n)
        degit_[std::size_t(n)]->ResetDegit(false);
    timer1_.stop();
    timeDegit_[0]->setValue(QString());
    timeDegit_[1]->setValue(QString());
}

void Form1::unblank() {
    if (!timeDegit_[0]->isHidden())
        timer1_.start();
}

void Form1::Degit_DblClick(int index) {
    M_Degit& clicked = *degit_[index];
    if (!clicked.UserSet())
        return;
    emit digitSettingsOpen(true);
    const int confirmed = clicked.ShowSetDlg();
    emit digitSettingsOpen(false);
    if (confirmed != 1)
        return;
    const int shift = clicked.Shift();
    const int zeroMode = clicked.ZeroMode();
    const int fillZero = clicked.FillZero();
    for (int k = 1; k <= Q57Layout::kPositionCount; ++k) {
        M_Degit& digit = *degit_[k];
        const QVariant value = digit.Value();
        digit.setShift(shift);
        digit.setFillZero(fillZero);
        digit.setZeroMode(zeroMode);
        digit.setValue(value);
    }
}

void Form1::setScale(int scale) {
    if (fullScreen_)
        return;
    placeParts(scale, {});
    setFixedSize(Q57Layout::kPanelSize * scale);
    setMask(shape());
    update();
}

void Form1::showFullScreenOn(const QRect& area, QScreen* screen) {
    if (!fullScreen_)
        windowedPos_ = pos();
    fullScreen_ = true;
    const int scale = PanelView::fitScale(area.size(), Q57Layout::kPanelSize);
    placeParts(scale, PanelView::centred(area.size(), Q57Layout::kPanelSize * scale));
    clearMask();
    // Screens of separate X displays are not one desktop: the window is made again on the
    // other one, which a window not made yet would not be.
    if (screen != nullptr) {
        create();
        windowHandle()->setScreen(screen);
    }
    setFixedSize(area.size());
    move(area.topLeft());
    // A window manager keeps a full-screen window above its own panels; without one the
    // geometry alone does it.
    if (screen != nullptr)
        setWindowState(windowState() | Qt::WindowFullScreen);
    update();
}

void Form1::leaveFullScreen(int scale) {
    if (!fullScreen_)
        return;
    fullScreen_ = false;
    setWindowState(windowState() & ~Qt::WindowFullScreen);
    move(windowedPos_);
    setScale(scale);
}

void Form1::setBackground(const QColor& colour) {
    background_ = colour;
    update();
}

void Form1::placeParts(int scale, QPoint origin) {
    scale_ = scale;
    origin_ = origin;
    const auto at = [&](QPoint onPicture) { return origin + onPicture * scale; };
    for (int n = 0; n <= Q57Layout::kPositionCount; ++n) {
        degit_[n]->setScale(scale);
        degit_[n]->move(at(n == 0 ? Q57Layout::kSpareDegitTopLeft : Q57Layout::fareTopLeft(n)));
        lblSeiriNum_[n]->place(n == 0 ? Q57Layout::kSpareLabelRect : Q57Layout::labelRect(n), scale,
                               origin);
    }
    for (int i = 0; i < 2; ++i) {
        timeDegit_[i]->setScale(scale);
        timeDegit_[i]->move(at(Q57Layout::kClockTopLeft[i]));
    }
    chimeiCtl_->setScale(scale);
    chimeiCtl_->setGeometry(
        QRect(at(Q57Layout::kChimeiRect.topLeft()), Q57Layout::kChimeiRect.size() * scale));
}

// The unit's outline with its cut corners, each corner pixel a block at the scale.
QRegion Form1::shape() const {
    const QRegion outline = WindowShape::roundRect2x2(0, 0, Q57Layout::kPanelSize.width(),
                                                      Q57Layout::kPanelSize.height());
    return QTransform::fromScale(scale_, scale_).map(outline).translated(origin_);
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (fullScreen_) {
        painter.fillRect(rect(), background_);
        // The cut corners show the background too, as a window's would show what is behind.
        painter.setClipRegion(shape());
    }
    painter.drawImage(QRect(origin_, picture_.size() * scale_), picture_);
}

void Form1::mousePressEvent(QMouseEvent* event) {
    // Presses that a child let through (a label) are not on the window face.
    if (!fullScreen_ && childAt(event->position().toPoint()) == nullptr && drag_.press(*event))
        return;
    QWidget::mousePressEvent(event);
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_.move(*event))
        QWidget::mouseMoveEvent(event);
}

void Form1::mouseReleaseEvent(QMouseEvent* event) {
    if (!drag_.release(*event))
        QWidget::mouseReleaseEvent(event);
}
