#include "app/FareDisplay.h"
#include "app/RouteSetting.h"

#include <QDir>
#include <QTest>

class tst_RouteSetting : public QObject {
    Q_OBJECT
private slots:
    void entryIsCorrected() {
        QCOMPARE(RouteSetting::appendDigit(QStringLiteral("0001"), 2, 5), QStringLiteral("00012"));
        QCOMPARE(RouteSetting::appendDigit(QStringLiteral("00012"), 3, 5), QStringLiteral("00012"));
        QCOMPARE(RouteSetting::appendDigit(QString(), 0, 3), QStringLiteral("0"));
        const std::pair<qint64, qint16> sections[] = {
            {0, 1}, {1, 1}, {300, 300}, {301, 300}, {999, 300}};
        for (const auto& [entered, section] : sections)
            QCOMPARE(RouteSetting::clampSection(entered), section);
        // From the keypad or a list, the files are named by the number itself.
        QCOMPARE(RouteSetting::routeText(QStringLiteral("00012")), QStringLiteral("12"));
        QCOMPARE(RouteSetting::routeText(QStringLiteral("12")), QStringLiteral("12"));
        QCOMPARE(RouteSetting::routeText(QString()), QStringLiteral("0"));
    }

    void refusalsNameTheFileAndFolder() {
        QCOMPARE(RouteSetting::failureMessage(RuntimeError(RuntimeError::FileNotFound)),
                 QStringLiteral("指定した系統のデータがありません..."));
        const RuntimeError cut(RuntimeError::SubscriptOutOfRange);
        QCOMPARE(RouteSetting::failureMessage(cut), cut.description());

        const QString tail =
            QStringLiteral("\nこのフォルダーは「設定...」の「運賃データと放送用データ」にある"
                           "「運賃データ(*.hy3)のあるフォルダー：」で選べます。");
        const QString here = QDir::currentPath();
        QCOMPARE(RouteSetting::failureDetail(QStringLiteral("9.hy3"), QString()),
                 QStringLiteral("運賃データファイル：%1/9.hy3\n運賃データのフォルダー："
                                "（空欄：起動したフォルダー %1）")
                         .arg(here) +
                     tail);
        QCOMPARE(RouteSetting::failureDetail(QStringLiteral("/d/9.hy3"), QStringLiteral("fares")),
                 QStringLiteral("運賃データファイル：/d/9.hy3\n運賃データのフォルダー：%1/fares")
                         .arg(here) +
                     tail);
    }

    void ticketDateBySetting() {
        const QDate today(2026, 4, 1);
        QCOMPARE(RouteSetting::ticketDate(today), QStringLiteral("04-01-2026"));
        IniRecord s;
        s.FixedDate = QStringLiteral("12-24-2025");
        QCOMPARE(FareDisplay::ticketDateText(s, QStringLiteral("03-31-2026"), today), s.FixedDate);
        s.DateKeepAtRouteSet = -1;
        QCOMPARE(FareDisplay::ticketDateText(s, QStringLiteral("03-31-2026"), today),
                 QStringLiteral("03-31-2026"));
        s.DateUpdateOnPrint = -1;
        QCOMPARE(FareDisplay::ticketDateText(s, QStringLiteral("03-31-2026"), today),
                 QStringLiteral("04-01-2026"));
    }
};

QTEST_GUILESS_MAIN(tst_RouteSetting)
#include "tst_RouteSetting.moc"
