// The least Qt needs for a step: a window repainting a prepared picture on every key, the
// picture and its negative in turn so that every key changes the screen. Floor program of
// bench/whole_program.py.
//
//   floor_repaint X,Y:PICTURE

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdio>

namespace {

class RepaintWindow : public QWidget {
public:
    explicit RepaintWindow(const QImage& picture)
        : QWidget(nullptr, Qt::FramelessWindowHint), pictures_{picture, picture} {
        pictures_[1].invertPixels();
        setFixedSize(picture.size());
    }

protected:
    void keyPressEvent(QKeyEvent*) override {
        shown_ = 1 - shown_;
        update();
    }
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, pictures_[shown_]); }

private:
    QImage pictures_[2];
    int shown_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int x = 0, y = 0, end = 0;
    if (argc != 2 || std::sscanf(argv[1], "%d,%d:%n", &x, &y, &end) != 2 || end == 0) {
        std::fprintf(stderr, "usage: floor_repaint X,Y:PICTURE\n");
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1] + end));
    if (picture.isNull()) {
        std::fprintf(stderr, "floor_repaint: cannot read %s\n", argv[1] + end);
        return 2;
    }
    RepaintWindow window(picture.convertToFormat(QImage::Format_RGB32));
    window.move(x, y);
    window.show();
    return app.exec();
}
