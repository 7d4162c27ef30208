#include "SeirikenLabels.h"

#include "platform/RuntimeError.h"

namespace {

// The word at the no-ticket position of styles 2..11.
QString noTicketWord(int style) {
    switch (style) {
    case 2:
    case 3:
        return QStringLiteral("な し");
    case 4:
    case 5:
        return QStringLiteral("無 券");
    case 6:
    case 7:
        return QStringLiteral("券なし");
    case 8:
    case 9:
        return QStringLiteral("券無し");
    default:
        return {};
    }
}

} // namespace

namespace SeirikenLabels {

QString toFullWidth(const QString& text) {
    QString wide;
    wide.reserve(text.size());
    for (QChar ch : text) {
        if (ch == QLatin1Char(' '))
            wide += QChar(0x3000);
        else if (ch.unicode() > 0x20 && ch.unicode() < 0x7F)
            wide += QChar(ch.unicode() + 0xFEE0);
        else
            wide += ch;
    }
    return wide;
}

Plan plan(int style, bool zeroPad) {
    Plan result;
    if (style < 2) {
        result.firstPointSize = 11;
    } else {
        result.firstPointSize = 10;
        result.captions[1] = noTicketWord(style);
    }
    if (style < 0 || style >= kStyleCount)
        return result;

    auto number = [zeroPad](int k) {
        return toFullWidth(zeroPad ? QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'))
                                   : QString::number(k));
    };
    if (style == 0) {
        for (int k = 1; k <= 61; ++k)
            result.captions[k] = number(k);
    } else if (style == 1) {
        for (int k = 0; k <= 60; ++k)
            result.captions[k + 1] = number(k);
    } else {
        // Even styles count from 1 after the word, odd styles keep the position's own number.
        const int offset = style % 2 == 0 ? 0 : 1;
        for (int k = 1; k <= 60; ++k)
            result.captions[k + 1] = number(k + offset);
    }
    return result;
}

QString styleName(int style) {
    static const char* const prefixes[kStyleCount] = {
        "1,2,3...",           "0,1,2...",           "「なし」、1,2...",   "「なし」、2,3...",
        "「無券」、1,2...",   "「無券」、2,3...",   "「券なし」、1,2...", "「券なし」、2,3...",
        "「券無し」、1,2...", "「券無し」、2,3...", "(無地)、1,2...",     "(無地)、2,3...",
    };
    // Style 0 and the odd styles from 3 keep each position's own number, up to 61.
    const int last = style == 0 || (style >= 3 && style % 2 == 1) ? 61 : 60;
    QString name = QString::fromUtf8(prefixes[style]) + QLatin1Char(' ') + QString::number(last);
    if (style == 0)
        name += QStringLiteral(" （既定の表示）");
    return name;
}

QString errorText(const RuntimeError& error) {
    return QStringLiteral(
               "エラーです！\n\nコード：%1\n\n内容：%2\n\nモジュール：IniIO-SeirikenNumSet( )")
        .arg(error.number())
        .arg(error.description());
}

} // namespace SeirikenLabels
