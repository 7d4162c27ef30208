#include "platform/FileBytes.h"
#include "platform/JapaneseFonts.h"
#include "support/FileSupport.h"
#include "support/Nw7Reading.h"
#include "ticket/Nw7.h"
#include "ticket/TicketDrawing.h"
#include "ticket/TicketPlugin.h"
#include "ticket/TicketPluginCache.h"

#include <QDir>
#include <QImage>
#include <QTest>

using TestSupport::darkPixels;
using TestSupport::decodeNw7;

namespace {

const QString kFixtures = QStringLiteral(Q57_SOURCE_DIR "/tests/data/plugins");
const QString kSamples = QStringLiteral(Q57_SOURCE_DIR "/data/plugins/");

TicketPlugin sample(const QString& name) {
    return readTicketPlugin(kSamples + name).valueOrThrow();
}

const TicketElement& elementOf(const TicketPlugin& plugin, TicketElement::Kind kind) {
    return *std::find_if(plugin.elements.begin(), plugin.elements.end(),
                         [&](const TicketElement& e) { return e.kind == kind; });
}

// The pixel columns and middle row of an element in an image of the preview's size times scale.
struct Place {
    int left, right, middle;
};
Place placeOf(const TicketPlugin& plugin, const TicketElement& e, const QImage& image) {
    const double sx = double(image.width()) / plugin.width;
    const double sy = double(image.height()) / plugin.height;
    return {int(e.x * sx), int((e.x + e.width) * sx), int((e.y + e.height / 2.0) * sy)};
}

// The first and last dark column of a row.
std::pair<int, int> inkOf(const QImage& image, int y) {
    const std::vector<bool> row = darkPixels(image, y, 0, image.width());
    return {int(std::find(row.begin(), row.end(), true) - row.begin()),
            int(row.rend() - std::find(row.rbegin(), row.rend(), true)) - 1};
}

QImage preview(const TicketPlugin& plugin, int scale = 1) {
    return QImage(plugin.info.PrevWidth / 15 * scale, plugin.info.PrevHeight / 15 * scale,
                  QImage::Format_RGB32);
}

} // namespace

class tst_Ticket : public QObject {
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
        TicketValues values{QStringLiteral("駅前"), QString(), QString(), 12, 7, 3, -1};
        const TicketElement company = elementOf(plugin, TicketElement::Kind::Company);
        QCOMPARE(ticketElementText(plugin, company, values), plugin.companies[0]);
        values.company = 2;
        QCOMPARE(ticketElementText(plugin, company, values), plugin.companies[2]);
        values.company = 3;
        QCOMPARE(ticketElementText(plugin, company, values), plugin.companies[0]);
        QCOMPARE(ticketElementText(plugin, elementOf(plugin, TicketElement::Kind::Number), values),
                 "7");

        const TicketElement barcode = elementOf(plugin, TicketElement::Kind::Barcode);
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

    void initTestCase() { JapaneseFonts::registerSubstitutions(); }

    void nw7SymbolsDecodeBack() {
        for (const QString& data : QStringList{"A0123456789-$:/.+B", "C5D", "DA"})
            QCOMPARE(decodeNw7(Nw7::modules(data)), data);
        for (const QString& data : QStringList{"", "A", "0123", "A12", "a1a", "A1B2A", "A1x1A"})
            QVERIFY2(Nw7::modules(data).empty(), qPrintable(data));
    }

    void ticketBarcodesDecodeFromThePixels() {
        const TicketPlugin plugin = sample(QStringLiteral("hoshizora-barcode.4SP"));
        const TicketElement& barcode = elementOf(plugin, TicketElement::Kind::Barcode);
        TicketValues values{u"中央病院前"_qs, u"2026/04/01"_qs, u"08:15:00"_qs, 12, 7, 23, 1};
        const auto decoded = [&](int scale) {
            QImage image = preview(plugin, scale);
            drawTicket(plugin, values, image);
            const Place place = placeOf(plugin, barcode, image);
            return decodeNw7(darkPixels(image, place.middle, place.left, place.right));
        };
        QCOMPARE(decoded(1), QStringLiteral("A0120007A"));
        QCOMPARE(decoded(3), QStringLiteral("A0120007A"));
        // A ticket number the plug-in does not recognise gets no bar code at all.
        values.seiriNum = 100;
        QCOMPARE(decoded(1), QString());
    }

    // A box's border lies inside it on all four sides; text keeps to its side of its box.
    void boxesAndAlignment() {
        const TicketPlugin plugin =
            readTicketPlugin(kFixtures + QStringLiteral("/box-and-alignment.4SP")).valueOrThrow();
        QImage image(100, 100, QImage::Format_RGB32);
        drawTicket(plugin, {}, image);
        const QRect outer(10, 10, 80, 30);
        const QRect inner = outer.adjusted(2, 2, -2, -2);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 100; ++x)
                QVERIFY2((image.pixel(x, y) != qRgb(255, 255, 255)) ==
                             (outer.contains(x, y) && !inner.contains(x, y)),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        // Where the left, centred and right squares' ink lies.
        QVERIFY(inkOf(image, 58).first < 3);
        QVERIFY(std::abs(inkOf(image, 74).first + inkOf(image, 74).second - 99) < 4);
        QVERIFY(inkOf(image, 90).second > 96);
    }

    void ticketFillsTheImage() {
        const TicketPlugin plugin = sample(QStringLiteral("komorebi-datetime.4SP"));
        QImage image = preview(plugin);
        image.fill(Qt::red);
        drawTicket(TicketPlugin{}, {}, image);
        QImage white = image;
        white.fill(Qt::white);
        QCOMPARE(image, white);

        // A name too long for its box (32 letters, the most a text prints) is narrowed into it, not
        // cut off: its last character, the only one with ink above the middle, ends at the box's
        // right edge.
        const TicketElement& stop = elementOf(plugin, TicketElement::Kind::StopName);
        drawTicket(plugin, {QString(31, u'一') + u'■', {}, {}, 1, 1, 1, -1}, image);
        const Place place = placeOf(plugin, stop, image);
        int first = image.width();
        for (int y = place.middle - 8; y <= place.middle + 8; ++y)
            first = std::min(first, inkOf(image, y).first);
        QVERIFY2(first >= place.left && first <= place.left + 3,
                 qPrintable(QString::number(first)));
        const int last = inkOf(image, place.middle - 5).second;
        QVERIFY2(last < place.right && last >= place.right - 4, qPrintable(QString::number(last)));
    }

    // A step draws again only what changed there, and the ticket equals one drawn whole. (Qt
    // draws some glyphs a little differently the first time: the wholes are drawn twice.)
    void stepsEqualWholeTickets() {
        TicketPluginCache cache;
        const TicketValues stops[] = {
            {"駅前", "04-01-2026", "08:15:00", 12, 1, 1, 1},
            {"市民体育館（アリーナ）", "04-01-2026", "08:15:09", 12, 16, 2},
            {QString(40, u'あ'), "05-01-2026", "08:15:09", 7, 99, 3, 2},
            {"北町", "05-01-2026", "08:15:09", 7, 99, 3, 2}};
        for (const QString& name : QDir(kSamples).entryList({QStringLiteral("*.4SP")})) {
            const TicketPlugin plugin = sample(name);
            QImage shown = preview(plugin), whole = shown;
            for (int pass = 0; pass < 3; ++pass)
                for (const TicketValues& at : stops) {
                    drawTicket(plugin, at, whole);
                    if (pass == 0)
                        continue;
                    cache.DrawSeiriken(kSamples + name, shown, at.stopName, at.dateText,
                                       at.timeText, at.routeNo, at.seiriNum, at.row, at.company);
                    QCOMPARE(shown, whole);
                }
            // What was kept of the smaller ticket's texts does not draw the larger one.
            QImage larger = preview(plugin, 2), largerWhole = larger;
            for (const TicketValues& at : stops) {
                for (int pass = 0; pass < 2; ++pass)
                    drawTicket(plugin, at, largerWhole);
                cache.DrawSeiriken(kSamples + name, larger, at.stopName, at.dateText, at.timeText,
                                   at.routeNo, at.seiriNum, at.row, at.company);
                QCOMPARE(larger, largerWhole);
            }
        }
    }
};

QTEST_MAIN(tst_Ticket)
#include "tst_Ticket.moc"
