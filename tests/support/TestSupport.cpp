#include "TestSupport.h"

#include "controls/M_Degit.h"
#include "options/frmOption.h"
#include "platform/JapaneseFonts.h"
#include "platform/MsgBox.h"
#include "settings/mdlIniIo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QRect>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace TestSupport {

void prepareWindowTests() {
    JapaneseFonts::registerSubstitutions();
    // The speech engine's settings and cache stay out of the user's own folders.
    QStandardPaths::setTestModeEnabled(true);
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
        const auto digit = std::find(std::begin(patterns), std::end(patterns), bits);
        text += digit != std::end(patterns) ? QChar(char16_t(u'0' + (digit - std::begin(patterns))))
                : bits == 0x40              ? QChar(u'-')
                : bits == 0                 ? QChar(u' ')
                                            : QChar(u'?');
    }
    return text;
}

QString segmentsOf(M_Degit& digit, const QColor& lit) {
    const QSize cell = M_Degit::cellSize(digit.DegitSize());
    return readSegments(grabbed(digit), cell.width(), cell.height(), lit);
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

void press(const QWidget& window, const QString& name) {
    QTest::mouseClick(&control<QAbstractButton>(window, name), Qt::LeftButton);
}

void setRouteOnKeypad(const QWidget& operatingPanel, int route, int section) {
    const auto key = [&](const QString& digits) {
        for (QChar digit : digits)
            press(operatingPanel, QStringLiteral("CommandButton1(%1)").arg(digit));
    };
    press(operatingPanel, QStringLiteral("CommandButton1(10)"));
    key(QString::number(route));
    press(operatingPanel, QStringLiteral("CommandButton1(11)"));
    key(QString::number(section));
    press(operatingPanel, QStringLiteral("Command1(1)"));
}

int inputPanelInFront(const QWidget& operatingPanel) {
    const QWidget& first = control(operatingPanel, QStringLiteral("Frame1(0)"));
    return first.isAncestorOf(operatingPanel.childAt(first.geometry().center())) ? 0 : 1;
}

QString lastMessage(const MessageBoxHook& boxes) {
    return boxes.asked().isEmpty() ? QString() : boxes.asked().last().text;
}

void changeSettings(frmOption& dialog, const std::function<void(IniRecord&)>& change) {
    IniRecord settings = dialog.currentSettings();
    change(settings);
    dialog.SetOptionInfo(settings);
}

} // namespace TestSupport
