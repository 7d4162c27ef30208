#include "RouteSetting.h"

#include <QDir>
#include <QFileInfo>

namespace RouteSetting {

QString appendDigit(const QString& display, int digit, int limit) {
    if (display.size() >= limit)
        return display;
    return display + QString::number(digit);
}

qint16 clampSection(qint64 entered) {
    if (entered == 0)
        return 1;
    if (entered > kLastSection)
        return kLastSection;
    return qint16(entered);
}

QString routeText(const QString& routeNo) {
    return QString::number(leadingNumber(routeNo));
}

QString failureMessage(const RuntimeError& error) {
    if (error.number() == RuntimeError::FileNotFound)
        return QStringLiteral("指定した系統のデータがありません...");
    return error.description();
}

QString failureDetail(const QString& fareFile, const QString& fareDataDir) {
    const QString folder = fareDataDir.isEmpty() ? QStringLiteral("（空欄：起動したフォルダー ") +
                                                       QDir::currentPath() + QStringLiteral("）")
                                                 : QFileInfo(fareDataDir).absoluteFilePath();
    return QStringLiteral("運賃データファイル：") + QFileInfo(fareFile).absoluteFilePath() +
           QStringLiteral("\n運賃データのフォルダー：") + folder +
           QStringLiteral("\nこのフォルダーは「設定...」の「運賃データと放送用データ」にある"
                          "「運賃データ(*.hy3)のあるフォルダー：」で選べます。");
}

QString ticketDate(const QDate& day) {
    return day.toString(QStringLiteral("MM-dd-yyyy"));
}

} // namespace RouteSetting
