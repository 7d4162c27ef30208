#include "options/PluginCapabilities.h"
#include "ticket/TicketPlugin.h"

#include <QtTest>

class TestPluginCapabilities : public QObject {
    Q_OBJECT
private slots:
    void linesForTheCapabilityRecord() {
        PlgInfo info;
        info.CanDate = info.CanStopName = info.CanBarcode = 1;
        info.BarcodeCount = 2, info.MaxRouteNo = 300, info.BarcodeRouteMode = 1;
        info.StopRangeFrom = -1, info.StopRangeTo = 61, info.CorpSwitch = 1;
        QCOMPARE(
            PluginCapabilities::lines(info).join(u'|'),
            QStringLiteral("日付の印字 ---> 可能|時刻の印字 ---> 不可|系統番号の印字 ---> 不可|"
                           "停名の印字 ---> 可能|バーコード印字 ---> 可能|バーコード本数 ---> 2|"
                           "バーコード系統方式 ---> 連番式|設定可能な系統範囲 ---> 1 ～ 300|"
                           "停留所認識範囲 ---> -1 ～ 61|社名切り替え:---> 可能"));
        info.BarcodeRouteMode = 2, info.CorpSwitch = 40;
        const QStringList modeTwo = PluginCapabilities::lines(info);
        QCOMPARE(modeTwo[6], QStringLiteral("バーコード系統方式 ---> 系統番号＋往復フラグ"));
        QCOMPARE(modeTwo[9], QStringLiteral("社名切り替え:---> 可能"));

        // Only exactly 1 counts: flags of 2 print nothing, and without a bar code its four
        // lines are left out whatever the fields hold.
        info.CanDate = info.CanTime = info.CanRouteNo = info.CanStopName = info.CanBarcode = 2;
        info.CorpSwitch = 0;
        const QStringList six = PluginCapabilities::lines(info);
        QCOMPARE(six.size(), 6);
        QCOMPARE(six.filter(QStringLiteral("---> 不可")), six);
        QCOMPARE(six.last(), QStringLiteral("社名切り替え:---> 不可"));
    }
};

QTEST_MAIN(TestPluginCapabilities)
#include "tst_PluginCapabilities.moc"
