#include "ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char* kCodecName = "windows-31j";

QString withCp932Forms(QString text) {
    text.replace(QChar(0x301C), QChar(0xFF5E)); // WAVE DASH -> FULLWIDTH TILDE
    text.replace(QChar(0x2212), QChar(0xFF0D)); // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    return text;
}

} // namespace

namespace ShiftJis {

QByteArray encode(const QString& text) {
    const QString prepared = withCp932Forms(text);
    QStringEncoder encoder(kCodecName);
    QByteArray bytes = encoder.encode(prepared);
    if (!encoder.hasError())
        return bytes;
    // Encode character by character so one stray symbol costs one byte, not the whole text.
    bytes.clear();
    for (qsizetype i = 0; i < prepared.size(); ++i) {
        const qsizetype length =
            prepared.at(i).isHighSurrogate() && i + 1 < prepared.size() ? 2 : 1;
        QStringEncoder single(kCodecName);
        const QByteArray piece = single.encode(QStringView(prepared).mid(i, length));
        bytes += single.hasError() ? QByteArray("?") : piece;
        i += length - 1;
    }
    return bytes;
}

QString decode(const QByteArray& bytes) {
    QStringDecoder decoder(kCodecName);
    QString text = decoder.decode(bytes);
    text.remove(QChar::ReplacementCharacter);
    return text;
}

int lenB(const QString& text) {
    return int(encode(text).size());
}

QString midB(const QString& text, int start, int count) {
    const QByteArray bytes = encode(text);
    if (start < 1 || count <= 0 || start > bytes.size())
        return {};
    return decode(bytes.mid(start - 1, count));
}

} // namespace ShiftJis
