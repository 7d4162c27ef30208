#include "ConfigText.h"

#include "platform/FileBytes.h"
#include "platform/SafeSave.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

namespace ConfigText {

namespace {

constexpr qint64 kMaxFileBytes = 64 * 1024;

} // namespace

bool forEachValue(
    const QByteArray& text,
    const std::function<bool(const QByteArray& name, const QByteArray& value)>& take) {
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0 || !take(line.left(equals).trimmed(), line.mid(equals + 1).trimmed()))
            return false;
    }
    return true;
}

Result<QByteArray> read(const QString& path) {
    return FileBytes::read(path, kMaxFileBytes);
}

Result<void> write(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SafeSave::write(path, text);
}

} // namespace ConfigText
