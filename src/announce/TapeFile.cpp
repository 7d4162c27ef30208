#include "TapeFile.h"

#include "platform/ShiftJis.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// Blanks around values and on blank lines, the ideographic space among them: Japanese input
// leaves it behind as easily as a space.
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == QChar(0x3000);
}

QString withoutBlanks(QStringView text) {
    qsizetype first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.mid(first, last - first).toString();
}

// A number as written in the file, rounded the way a 16-bit variable takes it.
Result<qint16> toNumber(const QString& text) {
    if (text.isEmpty())
        return qint16(0);
    qsizetype at = 0;
    const bool negative = text[0] == u'-';
    if (text[0] == u'-' || text[0] == u'+')
        ++at;
    auto isDigit = [&text](qsizetype i) {
        return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
    };
    qint64 whole = 0;
    bool digits = false;
    for (; isDigit(at); ++at, digits = true)
        whole = std::min<qint64>(whole * 10 + (text[at].unicode() - u'0'), 1'000'000);
    // Past one half rounds up, exactly one half to the even number.
    int roundUp = 0;
    if (at < text.size() && text[at] == u'.') {
        const qsizetype first = ++at;
        bool pastFirst = false;
        for (; isDigit(at); ++at, digits = true)
            pastFirst = pastFirst || (at > first && text[at] != u'0');
        if (at > first) {
            const int tenths = text[first].unicode() - u'0';
            roundUp = tenths > 5 || (tenths == 5 && (pastFirst || whole % 2 == 1)) ? 1 : 0;
        }
    }
    if (!digits || at != text.size())
        return RuntimeError(RuntimeError::TypeMismatch);
    const qint64 value = negative ? -(whole + roundUp) : whole + roundUp;
    if (value < -32768 || value > 32767)
        return RuntimeError(RuntimeError::Overflow);
    return qint16(value);
}

} // namespace

namespace TapeFile {

QString path(const QString& folder, const QString& routeNo) {
    const QString name = routeNo + QStringLiteral("tp.csv");
    const QString asWritten = folder + name;
    const bool pattern = name.contains(u'*') || name.contains(u'?') || name.contains(u'[');
    if (QFileInfo::exists(asWritten) || pattern)
        return asWritten;
    // A folder's name filters ignore case unless told otherwise.
    const QStringList found = QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
                                  .entryList({name}, QDir::Files, QDir::Name);
    return found.isEmpty() ? asWritten : folder + found.first();
}

QStringList lines(const QByteArray& bytes) {
    static const QByteArray utf8Mark("\xEF\xBB\xBF");
    QString text = bytes.startsWith(utf8Mark) ? QString::fromUtf8(bytes.mid(utf8Mark.size()))
                                              : ShiftJis::decode(bytes);
    text.remove(QChar::ReplacementCharacter);
    QStringList lines;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!withoutBlanks(line).isEmpty())
            lines.append(line.toString());
    }
    return lines;
}

Reader::Reader(QStringList lines) : lines_(std::move(lines)) {}

Result<TapeData> Reader::next() {
    TapeData record;
    Result<QString> text = value();
    if (!text)
        return text.error();
    record.Text = std::move(text).value();
    for (qint16* field : {&record.DataLink, &record.SoundFlag}) {
        const Result<qint16> read = number();
        if (!read)
            return read.error();
        *field = read.value();
    }
    // The next announcement starts on a line of its own.
    if (column_ > 0)
        release();
    return record;
}

void Reader::release() {
    // A line read is not needed again: a huge file is held once, not twice, while it is read.
    lines_[line_++] = QString();
    column_ = 0;
}

Result<QString> Reader::value() {
    if (atEnd())
        return RuntimeError(RuntimeError::InputPastEndOfFile);
    const QString& line = lines_[line_];
    qsizetype at = column_;
    while (at < line.size() && isBlank(line[at]))
        ++at;
    QString text;
    qsizetype comma = -1;
    if (at < line.size() && line[at] == u'"') {
        for (++at; at < line.size(); ++at) {
            if (line[at] != u'"')
                text += line[at];
            else if (at + 1 < line.size() && line[at + 1] == u'"')
                text += line[++at];
            else
                break;
        }
        comma = line.indexOf(u',', at);
    } else {
        comma = line.indexOf(u',', at);
        text = withoutBlanks(QStringView(line).mid(at, comma < 0 ? -1 : comma - at));
    }
    if (comma < 0) {
        release();
    } else {
        column_ = comma + 1;
    }
    return text;
}

Result<qint16> Reader::number() {
    const Result<QString> text = value();
    if (!text)
        return text.error();
    return toNumber(text.value());
}

Result<std::vector<TapeData>> read(const QByteArray& bytes) {
    std::vector<TapeData> records;
    for (Reader reader(lines(bytes)); !reader.atEnd();) {
        Result<TapeData> record = reader.next();
        if (!record)
            return record.error();
        records.push_back(std::move(record).value());
    }
    return records;
}

QByteArray encode(const std::vector<TapeData>& records) {
    QString text;
    for (const TapeData& record : records) {
        QString quoted = record.Text;
        quoted.replace(u'"', QStringLiteral("\"\""));
        // A line break would end the announcement inside its text.
        quoted.replace(u'\r', u' ').replace(u'\n', u' ');
        text += u'"' + quoted +
                QStringLiteral("\",%1,%2\r\n").arg(record.DataLink).arg(record.SoundFlag);
    }
    return ShiftJis::encode(text);
}

} // namespace TapeFile
