// The least Qt needs for a scrolling stop name: a strip of the given size whose picture moves
// up one pixel (of the 1x strip, SCALE screen pixels) per tick of a timer at RATE ticks a
// second. Floor program of bench/whole_program.py.
//
//   floor_scroll X,Y WIDTH HEIGHT RATE SCALE

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class ScrollWindow : public QWidget {
public:
    ScrollWindow(int width, int height, int scale, int rate)
        : QWidget(nullptr, Qt::FramelessWindowHint),
          canvas_(width, 2 * height, QImage::Format_RGB32), scale_(scale) {
        // Stripes, so that every move changes the screen as a moving name does.
        for (int y = 0; y < canvas_.height(); ++y)
            for (int x = 0; x < width; ++x)
                canvas_.setPixel(x, y, (y / 16 + x / 16) % 2 != 0 ? 0xff8000u : 0x202020u);
        setFixedSize(width * scale, height * scale);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] {
            top_ = (top_ + 1) % (canvas_.height() / 2);
            update();
        });
        timer_.start(1000 / rate);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.scale(scale_, scale_);
        painter.drawImage(0, -top_, canvas_);
    }

private:
    QImage canvas_;
    QTimer timer_;
    int scale_;
    int top_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int x = 0, y = 0, width = 0, height = 0, rate = 0, scale = 0;
    if (argc != 6 || std::sscanf(argv[1], "%d,%d", &x, &y) != 2 ||
        std::sscanf(argv[2], "%d", &width) != 1 || std::sscanf(argv[3], "%d", &height) != 1 ||
        std::sscanf(argv[4], "%d", &rate) != 1 || std::sscanf(argv[5], "%d", &scale) != 1 ||
        width <= 0 || height <= 0 || rate <= 0 || scale <= 0) {
        std::fprintf(stderr, "usage: floor_scroll X,Y WIDTH HEIGHT RATE SCALE\n");
        return 2;
    }
    ScrollWindow window(width, height, scale, rate);
    window.move(x, y);
    window.show();
    return app.exec();
}
