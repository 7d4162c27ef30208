// Writes a picture's pixels as the program holds them in memory (32-bit RGB, row after row, no
// header), so that the program shows its panel picture without decoding it. Run by the build.
//   panel_pixels data/panel.png OUT

#include <QFile>
#include <QImage>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: panel_pixels PICTURE OUT\n");
        return 2;
    }
    const QImage picture =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (picture.isNull() || !out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "panel_pixels: cannot read %s or write %s\n", argv[1], argv[2]);
        return 1;
    }
    for (int y = 0; y < picture.height(); ++y)
        out.write(reinterpret_cast<const char*>(picture.constScanLine(y)), picture.width() * 4);
    return out.flush() && out.error() == QFileDevice::NoError ? 0 : 1;
}
