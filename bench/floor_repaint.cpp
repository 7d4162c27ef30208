// The least Qt needs for a step: a window repainting a prepared picture on every key, the
// picture and its negative in turn so that every key changes the screen. Floor program of
// bench/whole_program.py.
//
//   floor_repaint X,Y:PICTURE [CHIME]
//
// With CHIME, every key also plays that sound as the program plays a step's chime (made ready at
// start; stopped, opened and played at the key): the least a step with its chime needs.

#include "announce/SoundPlayer.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <memory>

namespace {

class RepaintWindow : public QWidget {
public:
    RepaintWindow(const QImage& picture, const QString& chime)
        : QWidget(nullptr, Qt::FramelessWindowHint), pictures_{picture, picture}, chime_(chime) {
        pictures_[1].invertPixels();
        setFixedSize(picture.size());
        if (!chime_.isEmpty()) {
            player_ = std::make_unique<SoundPlayer>();
            player_->prepare(chime_);
        }
    }

protected:
    void keyPressEvent(QKeyEvent*) override {
        if (player_) {
            player_->stop();
            if (player_->open(chime_))
                player_->play();
        }
        shown_ = 1 - shown_;
        update();
    }
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, pictures_[shown_]); }

private:
    QImage pictures_[2];
    int shown_ = 0;
    QString chime_;
    std::unique_ptr<SoundPlayer> player_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int x = 0, y = 0, end = 0;
    if (argc < 2 || argc > 3 || std::sscanf(argv[1], "%d,%d:%n", &x, &y, &end) != 2 || end == 0) {
        std::fprintf(stderr, "usage: floor_repaint X,Y:PICTURE [CHIME]\n");
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1] + end));
    if (picture.isNull()) {
        std::fprintf(stderr, "floor_repaint: cannot read %s\n", argv[1] + end);
        return 2;
    }
    RepaintWindow window(picture.convertToFormat(QImage::Format_RGB32),
                         argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString());
    window.move(x, y);
    window.show();
    return app.exec();
}
