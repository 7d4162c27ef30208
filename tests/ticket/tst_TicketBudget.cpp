#include "ticket/TicketPlugin.h"

#include <QTest>

namespace {

QByteArray plugin(const QByteArray& elements, const QByteArray& firstLine = "Q57-TICKET-PLUGIN 1") {
    return firstLine +
           "\n[info]\nPrevWidth = 30000\nPrevHeight = 30000\nCanDate = 0\nCanTime = 0\n"
           "CanRouteNo = 0\nCanStopName = 1\nCanBarcode = 0\nBarcodeCount = 0\nMaxRouteNo = 1\n"
           "BarcodeRouteMode = 0\nStopRangeFrom = 0\nStopRangeTo = 0\nCorpSwitch = 0\n"
           "[ticket]\nsize 1000 500\n" +
           elements;
}

QByteArray repeated(const QByteArray& line, int count) {
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += line + '\n';
    return lines;
}

} // namespace

class tst_TicketBudget : public QObject {
    Q_OBJECT
private slots:
    void theFirstLineIsExact() {
        const QByteArray number = "number 0 0 100 100\n";
        QVERIFY(parseTicketPlugin(plugin(number)));
        QVERIFY(parseTicketPlugin("\xEF\xBB\xBF" + plugin(number)));
        QVERIFY(parseTicketPlugin(plugin(number, "Q57-TICKET-PLUGIN 1\r")));
        for (const QByteArray first :
             {" Q57-TICKET-PLUGIN 1", "Q57-TICKET-PLUGIN 1\t", "Q57-TICKET-PLUGIN  1"}) {
            const QList<TicketPluginProblem> problems = checkTicketPlugin(plugin(number, first));
            QVERIFY2(!problems.isEmpty() && problems.front().line == 1, first.constData());
        }
    }

    // What a ticket may cost to draw: the texts' sizes up to twice its height, the other
    // elements' area up to eight times its own; the element that passes is named.
    void drawingHasABudget() {
        QVERIFY(parseTicketPlugin(plugin(repeated("stop 0 0 1000 500", 2))));
        QVERIFY(parseTicketPlugin(plugin(repeated("stop 0 0 1000 10", 100))));
        QVERIFY(parseTicketPlugin(plugin(repeated("text 0 0 1000 500 size=5 text=x", 200))));
        QCOMPARE(checkTicketPlugin(plugin(repeated("stop 0 0 1000 500", 3))).size(), 1);
        QCOMPARE(checkTicketPlugin(plugin(repeated("stop 0 0 1000 500", 3))).front().line, 20);
        QCOMPARE(checkTicketPlugin(plugin(repeated("stop 0 0 1000 10", 101))).front().line, 118);

        QVERIFY(parseTicketPlugin(plugin(repeated("box 0 0 1000 500 fill=#ffffff", 8))));
        QCOMPARE(checkTicketPlugin(plugin(repeated("box 0 0 1000 500", 9))).front().line, 26);
        // A line counts with its thickness.
        QVERIFY(parseTicketPlugin(plugin(repeated("line 0 0 1000 0", 256))));
        QCOMPARE(checkTicketPlugin(plugin(repeated("line 0 0 1000 0 width=500", 9))).size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_TicketBudget)
#include "tst_TicketBudget.moc"
