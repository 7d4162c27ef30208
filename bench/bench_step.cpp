// One step of the display through the real panel, repaint included, beside its floor: a widget
// repainting a prepared picture of the panel's size. The repaint is forced by handling the
// events the step posted (QCoreApplication::processEvents), as the window's loop would.
// Argument: the panel's scale.

#include "FullRoute.h"
#include "Q57App.h"
#include "app/frmCtl.h"
#include "panel/Form1.h"

#include <QCoreApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

struct RouteShown {
    QTemporaryDir dir;
    Q57App program;
    frmCtl& ctl = program.operatingPanel();

    explicit RouteShown(benchmark::State& state) {
        const QString path = writeFullRoute(dir);
        program.start();
        program.form().setScale(int(state.range(0)));
        DataIo& data = ctl.RouteData();
        data.RouteNo = QStringLiteral("00012");
        data.StartSection = 1;
        data.LoadFareFile(path).valueOrThrow();
        state.SetLabel(std::to_string(state.range(0)) + "x");
        ctl.DispData(1);
        QCoreApplication::processEvents();
    }
};

// Rows 1 and 2 by turns: every fare shown changes.
void BM_StepEveryFareChanges(benchmark::State& state) {
    RouteShown route(state);
    int row = 1;
    for (auto _ : state) {
        row = 3 - row;
        route.ctl.DispData(row);
        QCoreApplication::processEvents();
    }
}

// The same row again: nothing shown changes.
void BM_StepNothingChanges(benchmark::State& state) {
    RouteShown route(state);
    for (auto _ : state) {
        route.ctl.DispData(1);
        QCoreApplication::processEvents();
    }
}

class PreparedPicture : public QWidget {
public:
    explicit PreparedPicture(const QImage& picture) : picture_(picture) {
        setFixedSize(picture.size());
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_); }

private:
    QImage picture_;
};

void BM_FloorRepaintPanelPicture(benchmark::State& state) {
    const int scale = int(state.range(0));
    QImage picture(755 * scale, 307 * scale, QImage::Format_RGB32);
    picture.fill(Qt::darkGray);
    PreparedPicture floor(picture);
    floor.show();
    QCoreApplication::processEvents();
    state.SetLabel(std::to_string(scale) + "x");
    for (auto _ : state) {
        floor.update();
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_StepEveryFareChanges)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepNothingChanges)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FloorRepaintPanelPicture)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
