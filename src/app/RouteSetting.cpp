#include "RouteSetting.h"

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

QString refusalMessage(DataIo::LoadResult result) {
    switch (result) {
    case DataIo::LoadResult::NoRecords:
        return QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...");
    case DataIo::LoadResult::SectionTooLarge:
        return QStringLiteral("指定した区間はデータの数よりも多いです...\n"
                              "  解決法：正しい区間を入力して下さい.");
    case DataIo::LoadResult::TooManyRecords:
        return QStringLiteral("指定した系統のデータの数が301を超えています。"
                              "このデータは扱えません...");
    case DataIo::LoadResult::Truncated:
        return QStringLiteral("指定した系統のデータファイルが途中で切れています"
                              "（ファイルが壊れている可能性があります）...");
    case DataIo::LoadResult::Loaded:
        break;
    }
    return {};
}

QString missingFileMessage() {
    return QStringLiteral("指定した系統のデータがありません...");
}

QString ticketDate(const QDate& day) {
    return day.toString(QStringLiteral("MM-dd-yyyy"));
}

} // namespace RouteSetting
