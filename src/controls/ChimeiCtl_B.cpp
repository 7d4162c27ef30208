#include "ChimeiCtl_B.h"

#include "controls/ChimeiLayout.h"
#include "controls/GlyphRasteriser.h"
#include "controls/PixelBlocks.h"
#include "platform/OleColor.h"

#include <QFrame>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QSet>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr QSize kViewportSize{36, 192};
constexpr int kCanvasWidth = 37;
constexpr QSize kRaisedViewport{37, 195};
constexpr QSize kFlatViewport{35, 185};

qint64 steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void setBackground(QWidget& widget, quint32 colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, OleColor::toQColor(colour));
    widget.setPalette(palette);
}

} // namespace

// Shows the canvas picture, which is kept between repaints, enlarged by the strip's scale with
// its top where the scroll stands; the rows it leaves free show the strip's back colour. The
// view itself stands still and covers the strip's inside: a scroll step repaints only the rows
// the canvas covered or covers, with no widget moved and nothing behind it repainted.
class ChimeiCtl_B::CanvasView : public QWidget {
public:
    CanvasView(QWidget* parent, const QImage& picture) : QWidget(parent), picture_(picture) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void place(int top, int scale) {
        if (top == top_ && scale == scale_)
            return;
        const QRect before = shownRect();
        top_ = top;
        scale_ = scale;
        update((before | shownRect()) & rect());
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QRect shown = shownRect();
        if (scale_ == 1) {
            enlarged_ = QImage();
            painter.drawImage(shown.topLeft(), picture_);
        } else {
            // Enlarged once per drawing of the canvas, not at every step of the scroll.
            if (enlargedFrom_ != picture_.cacheKey() || enlarged_.size() != shown.size()) {
                enlarged_ = PixelBlocks::enlarged(picture_, scale_);
                enlargedFrom_ = picture_.cacheKey();
            }
            painter.drawImage(shown.topLeft(), enlarged_);
        }
        for (const QRect& free : QRegion(event->rect()) - shown)
            painter.fillRect(free, palette().window());
    }

private:
    QRect shownRect() const { return {QPoint(0, top_ * scale_), picture_.size() * scale_}; }

    const QImage& picture_;
    QImage enlarged_;
    qint64 enlargedFrom_ = 0;
    int top_ = 0;
    int scale_ = 1;
};

ChimeiCtl_B::ChimeiCtl_B(QWidget* parent)
    : QWidget(parent), picture2_(new QFrame(this)), clock_(steadyMilliseconds) {
    resize(35, 192);
    picture2_->setGeometry(QRect(QPoint(0, 0), kViewportSize));
    picture2_->setAutoFillBackground(true);
    applyAppearance(properties_.Appearance);
    picture1_ = new CanvasView(picture2_, canvas_);
    fitView();
    clearCanvas(ChimeiLayout::kStillHeight);
    moveCanvas(0);
    setBackground(*picture2_, properties_.BackColor);

    scrollTimer_.setSingleShot(true);
    scrollTimer_.setTimerType(Qt::PreciseTimer);
    connect(&scrollTimer_, &QTimer::timeout, this, &ChimeiCtl_B::scrollTick);
}

void ChimeiCtl_B::ReadProperties(const StoredProperties& stored) {
    properties_ = stored;
    applyAppearance(properties_.Appearance);
    fitView();
    setBackColor(properties_.BackColor);
}

void ChimeiCtl_B::setBackColor(quint32 colour) {
    properties_.BackColor = colour;
    clearCanvas(canvas_.height());
    setBackground(*picture2_, colour);
}

void ChimeiCtl_B::setAppearance(int value) {
    properties_.Appearance = value;
    applyAppearance(value);
    setBackColor(properties_.BackColor);
    picture2_->resize((value != 0 ? kRaisedViewport : kFlatViewport) * scale_);
    fitView();
}

void ChimeiCtl_B::applyAppearance(int value) {
    if (value != 0) {
        picture2_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture2_->setLineWidth(2 * scale_);
    } else {
        picture2_->setFrameStyle(QFrame::NoFrame);
    }
}

void ChimeiCtl_B::Refresh() {
    picture1_->repaint();
}

void ChimeiCtl_B::SetChimei(const QString& strText) {
    if (strText.isEmpty()) {
        // A running scroll goes on moving the empty canvas until the next name comes; as nothing
        // of it shows, no timer wakes for it.
        clearCanvas(canvas_.height());
        moveCanvas(0);
        scrollTimer_.stop();
        return;
    }
    const Drawn wanted{strText,          properties_.BackColor, properties_.ForeColor,
                       properties_.Mode, properties_.FontMode,  properties_.FontBold,
                       viewportHeight()};
    if (drawn_ != wanted && !showKept(wanted)) {
        const ChimeiLayout::Cells cells = ChimeiLayout::shownCells(strText);
        clearCanvas(ChimeiLayout::canvasHeight(cells.count));
        const ChimeiLayout::Placement placement =
            ChimeiLayout::placement(cells.count, properties_.Mode);
        for (int k = 0; k < cells.texts.size(); ++k) {
            QString group = cells.texts[k];
            DrawDot16(ChimeiLayout::kCellLeft, placement.firstTop + k * placement.step, group);
        }
        drawn_ = wanted;
        drawnCells_ = cells.count;
        kept_.prepend({wanted, canvas_, cells.count});
        // Bounded by bytes: a few dozen everyday names, or one of the longest a file can hold.
        constexpr qsizetype kMostKeptBytes = 4 << 20;
        qsizetype bytes = 0;
        for (qsizetype k = 0; k < kept_.size(); ++k) {
            bytes += kept_[k].canvas.sizeInBytes();
            if (bytes > kMostKeptBytes && k > 0) {
                kept_.resize(k);
                break;
            }
        }
    }

    scroll_.stop();
    scrollTimer_.stop();
    if (!ChimeiLayout::scrolls(drawnCells_)) {
        moveCanvas(0);
        return;
    }
    moveCanvas(viewportHeight());
    const qint64 now = clock_();
    scroll_.start(now, viewportHeight(), properties_.ScrollStartWait);
    armScrollTimer(now);
}

void ChimeiCtl_B::prepareNames(const QStringList& names) {
    // Well within what the glyph store keeps, and a few milliseconds at most.
    constexpr qsizetype kMostCharacters = 512;
    const GlyphRasteriser::CellStyle style{properties_.FontMode, properties_.FontBold, 0};
    QSet<QString> seen;
    for (const QString& name : names)
        for (const QString& cell : ChimeiLayout::shownCells(name).texts) {
            if (seen.contains(cell))
                continue;
            if (seen.size() >= kMostCharacters)
                return;
            seen.insert(cell);
            GlyphRasteriser::prepareCell(cell, style);
        }
}

bool ChimeiCtl_B::showKept(const Drawn& wanted) {
    const auto found = std::find_if(kept_.begin(), kept_.end(),
                                    [&](const Kept& kept) { return kept.drawn == wanted; });
    if (found == kept_.end())
        return false;
    canvas_ = found->canvas;
    drawn_ = wanted;
    drawnCells_ = found->cells;
    std::rotate(kept_.begin(), found, found + 1);
    picture1_->update();
    return true;
}

void ChimeiCtl_B::DrawDot16(int X, int Y, QString& strText) {
    GlyphRasteriser::drawCell(canvas_, X, Y, strText,
                              {properties_.FontMode, properties_.FontBold,
                               OleColor::toQColor(properties_.ForeColor).rgb()});
    drawn_.reset();
    picture1_->update();
}

void ChimeiCtl_B::scrollTick() {
    if (!scroll_.running())
        return;
    const qint64 now = clock_();
    scroll_.advanceTo(now, properties_.Speed, properties_.ScrollStartWait, canvas_.height(),
                      viewportHeight());
    moveCanvas(scroll_.top());
    if (drawn_)
        armScrollTimer(now);
}

void ChimeiCtl_B::armScrollTimer(qint64 now) {
    // The timer wakes when the canvas next moves a whole pixel, but no more than once a frame
    // of the display: faster would not be seen.
    const qreal rate = screen() != nullptr ? screen()->refreshRate() : 60.0;
    const int frame = int(std::ceil(1000.0 / (rate > 0 ? rate : 60.0)));
    const qint64 next = scroll_.nextMoveIn(now, properties_.Speed, properties_.ScrollStartWait,
                                           canvas_.height(), viewportHeight());
    scrollTimer_.start(int(std::max<qint64>(frame, next)));
}

void ChimeiCtl_B::setScale(int scale) {
    const int top = canvasTop();
    const QSize viewport = picture2_->size() / scale_;
    scale_ = scale;
    applyAppearance(properties_.Appearance);
    picture2_->resize(viewport * scale_);
    fitView();
    moveCanvas(top);
}

int ChimeiCtl_B::canvasTop() const {
    return top_;
}

int ChimeiCtl_B::viewportHeight() const {
    return picture2_->contentsRect().height() / scale_;
}

void ChimeiCtl_B::clearCanvas(int height) {
    // A canvas kept for a name seen before is left to it, not copied to be overwritten.
    if (canvas_.height() != height || !canvas_.isDetached())
        canvas_ = QImage(kCanvasWidth, height, QImage::Format_RGB32);
    canvas_.fill(OleColor::toQColor(properties_.BackColor));
    drawn_.reset();
    picture1_->update();
}

void ChimeiCtl_B::moveCanvas(int top) {
    top_ = top;
    picture1_->place(top, scale_);
}

void ChimeiCtl_B::fitView() {
    picture1_->setGeometry(picture2_->contentsRect());
}
