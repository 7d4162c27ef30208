// The least Qt needs to show the program's two windows at start: each given picture in a
// frameless window at the given place. Floor program of bench/whole_program.py.
//
//   floor_windows X,Y:PICTURE X,Y:PICTURE

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

class PictureWindow : public QWidget {
public:
    explicit PictureWindow(const QImage& picture)
        : QWidget(nullptr, Qt::FramelessWindowHint), picture_(picture) {
        setFixedSize(picture_.size());
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_); }

private:
    QImage picture_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<std::unique_ptr<PictureWindow>> windows;
    for (int i = 1; i < argc; ++i) {
        int x = 0, y = 0, end = 0;
        if (std::sscanf(argv[i], "%d,%d:%n", &x, &y, &end) != 2 || end == 0) {
            std::fprintf(stderr, "floor_windows: expected X,Y:PICTURE, got %s\n", argv[i]);
            return 2;
        }
        const QImage picture(QString::fromLocal8Bit(argv[i] + end));
        if (picture.isNull()) {
            std::fprintf(stderr, "floor_windows: cannot read %s\n", argv[i] + end);
            return 2;
        }
        windows.push_back(std::make_unique<PictureWindow>(picture));
        windows.back()->move(x, y);
        windows.back()->show();
    }
    return app.exec();
}
