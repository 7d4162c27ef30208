#include "PanelView.h"

#include "platform/FileBytes.h"
#include "platform/SafeSave.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <algorithm>

namespace {

constexpr qint64 kMaxFileBytes = 64 * 1024;

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
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            return {};
        const QByteArray name = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        bool ok = true;
        if (name == "scale") {
            view.scale = value.toInt(&ok);
            ok = ok && view.scale >= kMinScale && view.scale <= kMaxScale;
        } else if (name == "fit") {
            ok = readFlag(value, view.fit);
        } else if (name == "fullscreen") {
            ok = readFlag(value, view.fullScreen);
        } else if (name == "screen") {
            view.screen = QString::fromUtf8(value);
        } else if (name == "background") {
            ok = readColour(value, view.background);
        } else {
            ok = false;
        }
        if (!ok)
            return {};
    }
    return view;
}

PanelView PanelView::read(const QString& path) {
    const Result<QByteArray> bytes = FileBytes::read(path, kMaxFileBytes);
    return bytes ? fromText(bytes.value()) : PanelView();
}

Result<void> PanelView::write(const QString& path) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SafeSave::write(path, toText());
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
