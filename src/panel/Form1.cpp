#include "Form1.h"

#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "options/frmOption.h"
#include "panel/Q57Layout.h"
#include "panel/mdlQ57_000.h"
#include "platform/RuntimeError.h"
#include "platform/WindowShape.h"
#include "settings/mdlIniIo.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTime>

namespace {

template <typename Array> auto& element(const Array& array, int index) {
    if (index < 0 || index >= int(array.size()))
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
    return *array[std::size_t(index)];
}

QLabel* makeLabel(QWidget* parent, const QRect& rect) {
    auto* label = new QLabel(parent);
    label->setGeometry(rect);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(mdlQ57_000::labelFont(11.25));
    mdlQ57_000::setLabelColour(*label, mdlQ57_000::kLabelColours[0]);
    return label;
}

} // namespace

Form1::Form1() : drag_(*this) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(Q57Layout::kPanelSize);
    imgRes_[0] = QImage(QStringLiteral(":/panel.png"));

    degit_[0] = new M_Degit(this);
    degit_[0]->move(Q57Layout::kSpareDegitTopLeft);
    degit_[0]->hide();
    lblSeiriNum_[0] = makeLabel(this, Q57Layout::kSpareLabelRect);
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
        degit_[n] = new M_Degit(this);
        degit_[n]->move(Q57Layout::fareTopLeft(n));
        connect(degit_[n], &M_Degit::DblClick, this, [this, n] { Degit_DblClick(n); });
        lblSeiriNum_[n] = makeLabel(this, Q57Layout::labelRect(n));
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

void Form1::Form_Load() {
    mdlQ57_000::InitFareDegits(*this);
    mdlQ57_000::SetModelDefaults(*this);
    // The dialog stays hidden: the model defaults have already loaded it.
    optionDialog();
    ShowOperatingPanel();
    move(0, 0);
    MoveOperatingPanelToBottomRight();
    setMask(WindowShape::roundRect2x2(0, 0, width(), height()));
    update();
    mdlIniIo::LoadIni(*this);
}

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
    if (index < 0 || index >= int(imgRes_.size()))
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
    return imgRes_[std::size_t(index)];
}

frmOption& Form1::optionDialog() {
    // No parent: disabling the panel around the modal dialog must not disable the dialog too.
    if (!optionDialog_)
        optionDialog_ = std::make_unique<frmOption>(*this);
    return *optionDialog_;
}

frmCtl& Form1::operatingPanel() {
    // Its own window beside the panel, not a child of it.
    if (!operatingPanel_)
        operatingPanel_ = std::make_unique<frmCtl>(*this);
    return *operatingPanel_;
}

void Form1::ShowOperatingPanel() {
    frmCtl& panel = operatingPanel();
    panel.show();
    panel.raise();
}

// Its bottom-right corner on the screen's, clear of any panel the desktop keeps there.
void Form1::MoveOperatingPanelToBottomRight() {
    frmCtl& panel = operatingPanel();
    const QRect screen = panel.screen()->availableGeometry();
    const QSize outer = panel.frameGeometry().size();
    panel.move(screen.x() + screen.width() - outer.width(),
               screen.y() + screen.height() - outer.height());
}

void Form1::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void Form1::GetFormInfo(IniRecord& ini) const {
    ini.DispLeft = x() * Q57Layout::kTwipsPerPixel;
    ini.DispTop = y() * Q57Layout::kTwipsPerPixel;
}

void Form1::SetFormInfo(const IniRecord& ini) {
    move(ini.DispLeft / Q57Layout::kTwipsPerPixel, ini.DispTop / Q57Layout::kTwipsPerPixel);
}

void Form1::ShowTime(const QTime& time) {
    const QString text = time.toString(QStringLiteral("hh:mm:ss"));
    timeDegit_[0]->setValue(text.mid(0, 2).toInt());
    timeDegit_[1]->setValue(text.mid(3, 2).toInt());
}

void Form1::Degit_DblClick(int index) {
    M_Degit& clicked = *degit_[index];
    if (!clicked.UserSet())
        return;
    operatingPanel().setEnabled(false);
    const int confirmed = clicked.ShowSetDlg();
    operatingPanel().setEnabled(true);
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

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void Form1::mousePressEvent(QMouseEvent* event) {
    // Presses that a child let through (a label) are not on the window face.
    if (childAt(event->position().toPoint()) == nullptr && drag_.press(*event))
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
