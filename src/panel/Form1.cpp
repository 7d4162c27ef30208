#include "Form1.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "panel/LabelLook.h"
#include "panel/Q57Layout.h"
#include "platform/RuntimeError.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTime>

namespace {

template <typename Array> auto& element(const Array& array, int index) {
    RuntimeError::checkSubscript(index, 0, int(array.size()) - 1);
    return *array[std::size_t(index)];
}

QLabel* makeLabel(QWidget* parent, const QRect& rect) {
    auto* label = new QLabel(parent);
    label->setGeometry(rect);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(LabelLook::font(11.25));
    LabelLook::setColour(*label, LabelLook::kColours[0]);
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
