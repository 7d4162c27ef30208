#include "TestSupport.h"

#include "platform/FileBytes.h"
#include "platform/JapaneseFonts.h"
#include "settings/mdlIniIo.h"

#include <QApplication>
#include <QDir>
#include <QRect>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <csignal>
#include <sys/resource.h>

namespace TestSupport {

void prepareWindowTests() {
    JapaneseFonts::registerSubstitutions();
    static QTemporaryDir settingsFolder;
    mdlIniIo::setIniFileName(settingsFolder.filePath(QStringLiteral("Q57.in4")));
}

void recoverFromQuit() {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

QImage grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString readSegments(const QImage& image, int cellWidth, int cellHeight, const QColor& lit) {
    const int w = cellWidth, h = cellHeight;
    const QRgb litRgb = lit.rgb() & 0xFFFFFF;
    auto isLit = [&](int x, int y) {
        return image.rect().contains(x, y) && (image.pixel(x, y) & 0xFFFFFF) == litRgb;
    };
    // Horizontal bars are found on the cell's middle column, vertical bars on one row between
    // the top and middle bars and one row between the middle and bottom bars.
    auto columnHit = [&](int x, double from, double to) {
        for (int y = int(std::ceil(from * h)); y < to * h; ++y)
            if (isLit(x, y))
                return true;
        return false;
    };
    auto rowHit = [&](int y, int from, int to) {
        for (int x = from; x < to; ++x)
            if (isLit(x, y))
                return true;
        return false;
    };
    static const unsigned patterns[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                          0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const int upper = int(std::lround(0.34 * h));
    const int lower = int(std::lround(0.62 * h));
    QString text;
    for (int cell = 0; cell * w + w <= image.width(); ++cell) {
        const int x0 = cell * w, mid = x0 + w / 2;
        const bool hits[7] = {
            columnHit(mid, 0.0, 0.3),   rowHit(upper, mid, x0 + w), rowHit(lower, mid, x0 + w),
            columnHit(mid, 0.7, 1.0),   rowHit(lower, x0, mid),     rowHit(upper, x0, mid),
            columnHit(mid, 0.35, 0.65),
        };
        unsigned bits = 0;
        for (int s = 0; s < 7; ++s)
            bits |= hits[s] ? 1u << s : 0u;
        QChar ch = QLatin1Char('?');
        if (bits == 0)
            ch = QLatin1Char(' ');
        else if (bits == 0x40)
            ch = QLatin1Char('-');
        for (int digit = 0; digit < 10; ++digit)
            if (bits == patterns[digit])
                ch = QLatin1Char(char('0' + digit));
        text += ch;
    }
    return text;
}

int countColour(const QImage& image, const QColor& colour) {
    int count = 0;
    const QRgb wanted = colour.rgb() & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == wanted)
                ++count;
    return count;
}

ModalAnswer::ModalAnswer(std::function<void(QWidget*)> answer, const char* className)
    : poll_(new QTimer) {
    poll_->setInterval(10);
    QObject::connect(poll_, &QTimer::timeout, [this, answer, className] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || (className != nullptr && !modal->inherits(className)))
            return;
        poll_->stop();
        answered_ = true;
        answer(modal);
    });
    poll_->start();
}

ModalAnswer::~ModalAnswer() {
    delete poll_;
}

QList<Expected> expectedOutcomes(const QString& folder) {
    const QString text = QString::fromUtf8(
        FileBytes::read(QDir(folder).filePath(QStringLiteral("expected.txt"))).valueOrThrow());
    QList<Expected> rows;
    for (const QString& line : text.split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QString row = line.simplified();
        const qsizetype gap = row.indexOf(u' ');
        rows.append({row.left(gap), row.mid(gap + 1)});
    }
    return rows;
}

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    // Without this the kernel ends the process with SIGXFSZ instead of failing the write (EFBIG).
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    oldLimit_ = limit.rlim_cur;
    limit.rlim_cur = rlim_t(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        qFatal("cannot lower the file-size limit");
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(oldLimit_);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler_);
}

} // namespace TestSupport
