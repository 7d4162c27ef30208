#include "PanelView.h"

#include "settings/ConfigText.h"

#include <algorithm>

namespace {

bool readFlag(const QByteArray& value, bool& target) {
    if (value != "0" && value != "1")
        return false;
    target = value == "1";
    return true;
}

bool readColour(const QByteArray& value, quint32& target) {
    if (value.size() != 7 || !value.startsWith('#'))
        return false;
    bool ok = false;
    const uint colour = value.mid(1).toUInt(&ok, 16);
    if (ok)
        target = colour;
    return ok;
}

} // namespace

QByteArray PanelView::toText() const {
    return "scale=" + QByteArray::number(scale) + "\nfit=" + QByteArray::number(int(fit)) +
           "\nfullscreen=" + QByteArray::number(int(fullScreen)) + "\nscreen=" + screen.toUtf8() +
           "\nbackground=#" + QByteArray::number(background, 16).rightJustified(6, '0').toUpper() +
           "\n";
}

PanelView PanelView::fromText(const QByteArray& text) {
    PanelView view;
    const bool read =
        ConfigText::forEachValue(text, [&view](const QByteArray& name, const QByteArray& value) {
            bool ok = true;
            if (name == "scale") {
                view.scale = value.toInt(&ok);
                return ok && view.scale >= kMinScale && view.scale <= kMaxScale;
            }
            if (name == "fit")
                return readFlag(value, view.fit);
            if (name == "fullscreen")
                return readFlag(value, view.fullScreen);
            if (name == "screen") {
                view.screen = QString::fromUtf8(value);
                return true;
            }
            if (name == "background")
                return readColour(value, view.background);
            return false;
        });
    return read ? view : PanelView();
}

PanelView PanelView::read(const QString& path) {
    const Result<QByteArray> bytes = ConfigText::read(path);
    return bytes ? fromText(bytes.value()) : PanelView();
}

Result<void> PanelView::write(const QString& path) const {
    return ConfigText::write(path, toText());
}

int PanelView::fitScale(QSize area, QSize panel) {
    if (panel.isEmpty())
        return kMinScale;
    const int across = area.width() / panel.width(), down = area.height() / panel.height();
    return std::clamp(std::min(across, down), kMinScale, kMaxScale);
}

QPoint PanelView::centred(QSize area, QSize picture) {
    return {(area.width() - picture.width()) / 2, (area.height() - picture.height()) / 2};
}
