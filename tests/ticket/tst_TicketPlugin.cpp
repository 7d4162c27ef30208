#include "platform/FileBytes.h"
#include "support/FileSupport.h"
#include "ticket/TicketPlugin.h"

#include <QTest>

namespace {

const QString kFixtures = QStringLiteral(Q57_SOURCE_DIR "/tests/data/plugins");
const QString kSamples = QStringLiteral(Q57_SOURCE_DIR "/data/plugins/");

TicketPlugin sample(const QString& name) {
    return readTicketPlugin(kSamples + name).valueOrThrow();
}

} // namespace

class tst_TicketPlugin : public QObject {
    Q_OBJECT
private slots:
    void fixtureGivesItsOutcome_data() {
        TestSupport::addFixtureRows(kFixtures, QStringLiteral("*.4SP"));
    }
    void fixtureGivesItsOutcome() {
        QFETCH(QString, file);
        QFETCH(QString, outcome);
        const Result<TicketPlugin> read = readTicketPlugin(file);
        QCOMPARE(read ? QStringLiteral("loads %1 element%2")
                            .arg(read.value().elements.size())
                            .arg(read.value().elements.size() == 1 ? "" : "s")
                      : QStringLiteral("error %1, %2")
                            .arg(read.error().number())
                            .arg(read.error().description()),
                 outcome);
        // The checker for authors and the reader must agree on every file.
        const Result<QByteArray> bytes = FileBytes::read(file);
        const QList<TicketPluginProblem> problems =
            bytes ? checkTicketPlugin(bytes.value()) : QList<TicketPluginProblem>{};
        QCOMPARE(problems.isEmpty(), bool(read) || !bytes);
        if (!problems.isEmpty())
            QCOMPARE(
                QStringLiteral("line %1: %2").arg(problems.front().line).arg(problems.front().what),
                read.error().description());
    }

    void everyProblemIsListedInLineOrder() {
        const QList<TicketPluginProblem> problems = checkTicketPlugin(
            FileBytes::read(kFixtures + QStringLiteral("/many-problems.4SP")).valueOrThrow());
        QList<int> lines;
        for (const TicketPluginProblem& problem : problems)
            lines << problem.line;
        QCOMPARE(lines, (QList<int>{5, 14, 17, 18, 19}));
        QCOMPARE(problems[1].what, QStringLiteral("CorpSwitch is missing"));

        // A drawing budget is passed once, at the element that passes it.
        QCOMPARE(
            checkTicketPlugin(FileBytes::read(kFixtures + QStringLiteral("/budget-stops-over.4SP"))
                                  .valueOrThrow())
                .size(),
            1);
        QByteArray huge =
            FileBytes::read(kFixtures + QStringLiteral("/minimal.4SP")).valueOrThrow();
        huge.append(QByteArray(1 << 20, '#'));
        QCOMPARE(
            checkTicketPlugin(huge),
            (QList<TicketPluginProblem>{{1, QStringLiteral("the file is larger than 1 MiB")}}));
    }

    void filesKeepWhatTheyDeclare() {
        const TicketPlugin barcode = sample(QStringLiteral("hoshizora-barcode.4SP"));
        PlgInfo info;
        info.PrevWidth = 3000;
        info.PrevHeight = 4200;
        info.CanDate = info.CanRouteNo = info.CanStopName = info.CanBarcode = 1;
        info.BarcodeCount = info.CorpSwitch = 1;
        info.MaxRouteNo = 999;
        info.StopRangeFrom = 1;
        info.StopRangeTo = 99;
        QCOMPARE(barcode.info, info);
        QCOMPARE(barcode.companies.size(), 3);
        QCOMPARE(barcode.comment.count(u'\n'), 2);
        QCOMPARE(barcode.width, 500);

        // Blank lines around the comment go, those inside and its indentation stay.
        const TicketPlugin notes =
            readTicketPlugin(kFixtures + QStringLiteral("/crlf-bom-notes.4SP")).valueOrThrow();
        QCOMPARE(notes.comment, QStringLiteral("  two lines,\n# kept as written"));

        const TicketElement element =
            readTicketPlugin(kFixtures + QStringLiteral("/barcode-mode-2.4SP"))
                .valueOrThrow()
                .elements.back();
        QCOMPARE(element.kind, TicketElement::Kind::Barcode);
        QCOMPARE(element.direction, 1);
    }

    void elementsShowTheStopsValues() {
        const TicketPlugin plugin = sample(QStringLiteral("hoshizora-barcode.4SP"));
        const auto element = [&](TicketElement::Kind kind) {
            return *std::find_if(plugin.elements.begin(), plugin.elements.end(),
                                 [&](const TicketElement& e) { return e.kind == kind; });
        };
        TicketValues values{QStringLiteral("駅前"), QString(), QString(), 12, 7, 3, -1};
        const TicketElement company = element(TicketElement::Kind::Company);
        QCOMPARE(ticketElementText(plugin, company, values), plugin.companies[0]);
        values.company = 2;
        QCOMPARE(ticketElementText(plugin, company, values), plugin.companies[2]);
        values.company = 3;
        QCOMPARE(ticketElementText(plugin, company, values), plugin.companies[0]);
        QCOMPARE(ticketElementText(plugin, element(TicketElement::Kind::Number), values), "7");

        const TicketElement barcode = element(TicketElement::Kind::Barcode);
        QCOMPARE(ticketBarcodeData(plugin.info, barcode, values), QStringLiteral("A0120007A"));
        PlgInfo sequential = plugin.info;
        sequential.BarcodeRouteMode = 1;
        QCOMPARE(ticketBarcodeData(sequential, barcode, values), QStringLiteral("A012003007A"));
        const struct {
            qint32 route;
            qint16 number;
            qint16 row;
            bool drawn;
        } limits[] = {{999, 99, 999, true}, {1, 1, 1, true},     {1000, 7, 3, false},
                      {0, 7, 3, false},     {12, 0, 3, false},   {12, 100, 3, false},
                      {12, 7, 0, false},    {12, 7, 1000, false}};
        for (const auto& limit : limits) {
            values.routeNo = limit.route;
            values.seiriNum = limit.number;
            values.row = limit.row;
            QCOMPARE(ticketBarcodeData(sequential, barcode, values).isEmpty(), !limit.drawn);
        }
    }
};

QTEST_GUILESS_MAIN(tst_TicketPlugin)
#include "tst_TicketPlugin.moc"
