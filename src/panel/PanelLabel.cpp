#include "PanelLabel.h"

#include "controls/PixelBlocks.h"

#include <QPainter>

PanelLabel::PanelLabel(QWidget* parent, const QImage& backdrop)
    : QLabel(parent), backdrop_(backdrop) {}

PanelLabel::~PanelLabel() = default;

void PanelLabel::place(const QRect& onPicture, int scale, QPoint origin) {
    onPicture_ = onPicture;
    scale_ = scale;
    setGeometry(QRect(origin + onPicture.topLeft() * scale, onPicture.size() * scale));
}

void PanelLabel::paintEvent(QPaintEvent* event) {
    if (scale_ == 1) {
        QLabel::paintEvent(event);
        return;
    }
    const QString key = text() + QLatin1Char('\n') + font().key() + QLatin1Char('\n') +
                        palette().color(foregroundRole()).name() + QLatin1Char('\n') +
                        QString::number(int(alignment())) + QLatin1Char('\n') +
                        QString::number(backdrop_.cacheKey());
    if (key != renderedKey_ || shown_.size() != size()) {
        // Drawn as the label is drawn at scale 1: on the picture behind it, where its
        // anti-aliased edges blend with the picture.
        QImage rendering = backdrop_.isNull()
                               ? QImage(onPicture_.size(), QImage::Format_RGB32)
                               : backdrop_.copy(onPicture_).convertToFormat(QImage::Format_RGB32);
        if (backdrop_.isNull())
            rendering.fill(palette().color(QPalette::Window));
        if (!twin_)
            twin_ = std::make_unique<QLabel>();
        twin_->setText(text());
        twin_->setFont(font());
        twin_->setPalette(palette());
        twin_->setAlignment(alignment());
        twin_->resize(onPicture_.size());
        const QImage behind = rendering;
        twin_->render(&rendering, QPoint(), QRegion(), QWidget::DrawChildren);
        // Only the text's own pixels are shown: the label's box overlaps the digits below it,
        // which show through at scale 1.
        rendering = rendering.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < rendering.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(rendering.scanLine(y));
            const auto* under = reinterpret_cast<const QRgb*>(behind.constScanLine(y));
            for (int x = 0; x < rendering.width(); ++x)
                if (line[x] == under[x])
                    line[x] = 0;
        }
        renderedKey_ = key;
        // Every pixel is opaque or transparent: premultiplying changes none.
        shown_ = PixelBlocks::enlarged(
            rendering.convertToFormat(QImage::Format_ARGB32_Premultiplied), scale_);
    }
    QPainter(this).drawImage(0, 0, shown_);
}
