#include "GlyphRasteriser.h"

#include "platform/ShiftJis.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <array>

namespace GlyphRasteriser {

namespace {

constexpr qint16 kFirstKanji = qint16(0x889F);
constexpr qint16 kFirstFullWidthDigit = qint16(0x824F);
constexpr qint16 kLastFullWidthLetter = qint16(0x829A);

// Signs that have a vertical form only by being turned on their side.
const QString kRotated = QStringLiteral("（）『』〔〕「」［］＜＞｛｝〈〉《》【】～＝→←⇒⇔");

bool isRotated(const QString& text) {
    return text.size() == 1 && kRotated.contains(text.front());
}

// The black pixels of a rendered cell: bit x of row y.
using Dots = std::array<quint16, kGlyphSize>;

struct Rendering {
    QString text;
    QString face;
    bool bold;
    int dx;
    int dy;
    bool operator==(const Rendering&) const = default;
};

size_t qHash(const Rendering& r, size_t seed = 0) {
    return qHashMulti(seed, r.text, r.face, r.bold, r.dx, r.dy);
}

// The characters of a route's names come back at every step and on every route: each is
// rendered once. A few thousand cover every name a user meets.
Dots dotsOf(const QString& text, const QString& face, bool bold, const Adjustment& at) {
    static QHash<Rendering, Dots> rendered;
    const Rendering key{text, face, bold, at.dx, at.dy};
    if (const auto found = rendered.constFind(key); found != rendered.constEnd())
        return *found;
    constexpr qsizetype kMostKept = 4096;
    if (rendered.size() >= kMostKept)
        rendered.clear();
    const QImage glyph = renderGlyph(text, face, bold, at);
    Dots dots{};
    for (int sy = 0; sy < kGlyphSize; ++sy) {
        const auto* row = reinterpret_cast<const QRgb*>(glyph.constScanLine(sy));
        for (int sx = 0; sx < kGlyphSize; ++sx)
            if ((row[sx] & 0xFFFFFF) == 0)
                dots[std::size_t(sy)] |= quint16(1u << sx);
    }
    rendered.insert(key, dots);
    return dots;
}

} // namespace

qint16 ansiCode(const QString& text) {
    if (text.isEmpty())
        return 0;
    const int length = text.front().isHighSurrogate() && text.size() > 1 ? 2 : 1;
    const QString first = text.left(length);
    // Looked up for every cell the strip draws; encoding costs far more than the lookup.
    static QHash<QString, qint16> codes;
    if (const auto found = codes.constFind(first); found != codes.constEnd())
        return *found;
    const QByteArray bytes = ShiftJis::encode(first);
    const qint16 code = bytes.size() == 1 ? qint16(quint8(bytes[0]))
                                          : qint16((quint8(bytes[0]) << 8) | quint8(bytes[1]));
    constexpr qsizetype kMostKept = 4096;
    if (codes.size() >= kMostKept)
        codes.clear();
    codes.insert(first, code);
    return code;
}

QString faceFor(const QString& text, int fontMode) {
    const qint16 code = ansiCode(text);
    switch (fontMode) {
    case 1:
        return kMincho;
    case 2:
        return code >= kFirstKanji ? kGothic : kMincho;
    case 3:
        return code >= kFirstKanji ? kMincho : kGothic;
    case 4:
        return code >= kFirstFullWidthDigit && code <= kLastFullWidthLetter ? kGothic : kMincho;
    default:
        return kGothic;
    }
}

Adjustment adjust(QString& text, int fontMode) {
    if (text == QStringLiteral("ー")) {
        text = QStringLiteral("丨");
        return {};
    }
    if (text == QStringLiteral("申") || text == QStringLiteral("山"))
        return {fontMode == 0 || fontMode == 2 ? 1 : 0, 0, false};
    if (isRotated(text))
        return {0, 0, true};
    if (text == QStringLiteral("。") || text == QStringLiteral("、"))
        return {10, -10, false};
    return {};
}

QImage renderGlyph(const QString& text, const QString& face, bool bold, const Adjustment& at) {
    QImage buffer(kGlyphSize, kGlyphSize, QImage::Format_RGB32);
    buffer.fill(Qt::white);
    QFont font(face);
    font.setPixelSize(kGlyphSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&buffer);
    painter.setFont(font);
    painter.setPen(Qt::black);
    // The offset places the top of the text box; Qt draws from the baseline.
    painter.drawText(at.dx, at.dy + QFontMetrics(font).ascent(), text);
    return buffer;
}

void prepareCell(QString text, const CellStyle& style) {
    if (text.isEmpty())
        return;
    const Adjustment at = adjust(text, style.fontMode);
    dotsOf(text, faceFor(text, style.fontMode), style.bold, at);
}

void drawCell(QImage& canvas, int x, int y, QString& text, const CellStyle& style) {
    if (text.isEmpty())
        return;
    const Adjustment at = adjust(text, style.fontMode);
    const Dots dots = dotsOf(text, faceFor(text, style.fontMode), style.bold, at);
    // Lines by address: setPixel would check the canvas's format and sharing at every dot.
    uchar* const bits = canvas.bits();
    const qsizetype line = canvas.bytesPerLine();
    const QRect inside = canvas.rect();
    for (int sy = 0; sy < kGlyphSize; ++sy) {
        for (int sx = 0; sx < kGlyphSize; ++sx) {
            if ((dots[std::size_t(sy)] & (1u << sx)) == 0)
                continue;
            const QPoint dot =
                at.rotate ? QPoint(x + 2 * sy, y + 2 * sx) : QPoint(x + 2 * sx, y + 2 * sy);
            if (inside.contains(dot))
                reinterpret_cast<QRgb*>(bits + dot.y() * line)[dot.x()] =
                    0xFF000000u | style.foreColour;
        }
    }
}

} // namespace GlyphRasteriser
