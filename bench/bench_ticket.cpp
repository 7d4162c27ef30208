// What the ticket preview costs: reading a plug-in file (done once per file and change),
// drawing the bar-code sample's ticket whole, and a step's ticket as the preview draws it: only
// what changed since the stop before.

#include "ticket/TicketDrawing.h"
#include "ticket/TicketPluginCache.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

const QString kBarcodeSample = QStringLiteral(Q57_SOURCE_DIR "/data/plugins/hoshizora-barcode.4SP");

void BM_ReadTicketPlugin(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(readTicketPlugin(kBarcodeSample).valueOrThrow());
}
BENCHMARK(BM_ReadTicketPlugin)->Unit(benchmark::kMicrosecond);

void BM_DrawBarcodeTicket(benchmark::State& state) {
    const TicketPlugin plugin = readTicketPlugin(kBarcodeSample).valueOrThrow();
    // The operating panel's preview: 15 twips to the pixel.
    QImage image(plugin.info.PrevWidth / 15, plugin.info.PrevHeight / 15,
                 QImage::Format_ARGB32_Premultiplied);
    TicketValues values{QStringLiteral("中央病院前"),
                        QStringLiteral("04-01-2026"),
                        QStringLiteral("08:15:00"),
                        12,
                        7,
                        7,
                        1};
    for (auto _ : state) {
        values.seiriNum = qint16(values.seiriNum % 60 + 1);
        drawTicket(plugin, values, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DrawBarcodeTicket)->Unit(benchmark::kMicrosecond);

// Four stops in turn, every text but the date changing; argument 0 draws each ticket whole,
// 1 only what changed since the stop before, 2 the same with a name never printed before at
// each stop, as on a first ride.
void BM_StepBarcodeTicket(benchmark::State& state) {
    const TicketPlugin plugin = readTicketPlugin(kBarcodeSample).valueOrThrow();
    TicketPluginCache plugins;
    QImage image(200, 280, QImage::Format_RGB32);
    const QString stops[] = {QStringLiteral("市民体育館（アリーナ）"),
                             QStringLiteral("工業団地入口"), QStringLiteral("北町"),
                             QStringLiteral("温泉センター")};
    TicketValues values{{}, QStringLiteral("04-01-2026"), QStringLiteral("08:15:00"), 12, 0, 0, 1};
    int stop = 0;
    for (auto _ : state) {
        values.row = qint16(values.row % 4 + 1);
        values.seiriNum = qint16(15 + values.row);
        values.stopName = stops[values.row - 1];
        if (state.range(0) == 2)
            values.stopName += QString::number(++stop);
        if (state.range(0) == 0)
            drawTicket(plugin, values, image);
        else
            plugins.DrawSeiriken(kBarcodeSample, image, values.stopName, values.dateText,
                                 values.timeText, values.routeNo, values.seiriNum, values.row,
                                 values.company);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_StepBarcodeTicket)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The largest drawings the format allows at the largest preview, of each costly kind: the
// texts' sizes add up to two tickets' heights (two full-height stop names of 32 letters, or
// 256 lines of fixed text), the boxes and lines cover eight tickets.
QByteArray largestPlugin(const QByteArray& element, int count) {
    QByteArray text = "Q57-TICKET-PLUGIN 1\n[info]\nPrevWidth = 30000\nPrevHeight = 30000\n"
                      "CanDate = 1\nCanTime = 1\nCanRouteNo = 1\nCanStopName = 1\nCanBarcode = 0\n"
                      "BarcodeCount = 0\nMaxRouteNo = 1\nBarcodeRouteMode = 0\n"
                      "StopRangeFrom = 0\nStopRangeTo = 0\nCorpSwitch = 0\n"
                      "[ticket]\nsize 10000 10000\n";
    for (int i = 0; i < count; ++i)
        text += element + '\n';
    return text;
}

void BM_DrawLargestTicket(benchmark::State& state) {
    static const struct {
        QByteArray element;
        int count;
    } kinds[] = {
        {"stop 0 0 10000 10000 weight=bold", 2},
        {"text 0 0 10000 78 text=\"運賃整理券乗車口のご案内です。お降りの際は整理券を\"", 256},
        {"box 0 0 10000 10000 width=5000 fill=#ffeecc", 8},
        {"line 0 0 10000 10000 width=10000", 8},
    };
    const auto& kind = kinds[state.range(0)];
    const Result<TicketPlugin> plugin = parseTicketPlugin(largestPlugin(kind.element, kind.count));
    if (!plugin) {
        state.SkipWithError(qPrintable(plugin.error().description()));
        return;
    }
    QImage image(2000, 2000, QImage::Format_ARGB32_Premultiplied);
    TicketValues values{QString(QStringLiteral("市立総合医療センター前")).repeated(3).left(32),
                        {},
                        {},
                        12,
                        7,
                        7,
                        1};
    for (auto _ : state) {
        drawTicket(plugin.value(), values, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DrawLargestTicket)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
