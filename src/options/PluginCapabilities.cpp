#include "PluginCapabilities.h"

#include "ticket/TicketPlugin.h"

namespace PluginCapabilities {

QStringList lines(const PlgInfo& info) {
    const auto can = [](bool yes) {
        return yes ? QStringLiteral("---> 可能") : QStringLiteral("---> 不可");
    };
    QStringList lines = {
        QStringLiteral("日付の印字 ") + can(info.CanDate == 1),
        QStringLiteral("時刻の印字 ") + can(info.CanTime == 1),
        QStringLiteral("系統番号の印字 ") + can(info.CanRouteNo == 1),
        QStringLiteral("停名の印字 ") + can(info.CanStopName == 1),
        QStringLiteral("バーコード印字 ") + can(info.CanBarcode == 1),
    };
    if (info.CanBarcode == 1)
        lines << QStringLiteral("バーコード本数 ---> ") + QString::number(info.BarcodeCount)
              << QStringLiteral("バーコード系統方式 ") +
                     (info.BarcodeRouteMode == 1 ? QStringLiteral("---> 連番式")
                                                 : QStringLiteral("---> 系統番号＋往復フラグ"))
              << QStringLiteral("設定可能な系統範囲 ---> 1 ～ ") + QString::number(info.MaxRouteNo)
              << QStringLiteral("停留所認識範囲 ---> ") + QString::number(info.StopRangeFrom) +
                     QStringLiteral(" ～ ") + QString::number(info.StopRangeTo);
    lines << QStringLiteral("社名切り替え:") + can(info.CorpSwitch >= 1);
    return lines;
}

} // namespace PluginCapabilities
