// What the ticket preview costs: reading a plug-in file (done once per file and change) and
// drawing the bar-code sample's ticket (done at every step while the preview is shown).

#include "ticket/TicketDrawing.h"

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

} // namespace
