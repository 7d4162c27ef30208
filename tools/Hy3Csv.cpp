#include "Hy3Csv.h"

#include "app/FareFile.h"

#include <QStringList>
#include <limits>
#include <optional>

namespace Hy3Csv {

namespace {

// Splits one CSV line; a field in double quotes may hold commas and doubled quotes.
std::optional<QStringList> splitLine(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    if (quoted)
        return std::nullopt;
    fields << field;
    return fields;
}

std::optional<qint16> toInt16(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < std::numeric_limits<qint16>::min() ||
        value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(value);
}

// A name that begins with # is quoted too: unquoted, its line would read back as a note.
QString quotedIfNeeded(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.startsWith(u'#'))
        return text;
    QString escaped = text;
    escaped.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

} // namespace

Result<std::vector<FareRecord>> fromCsv(const QString& csv) {
    std::vector<FareRecord> records;
    const QStringList lines = csv.split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QString line = lines[index];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (index == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QString where = QStringLiteral("line %1: ").arg(index + 1);
        const auto refused = [&where](const QString& why) {
            return RuntimeError(RuntimeError::InvalidProcedureCall, where + why);
        };
        const std::optional<QStringList> fields = splitLine(line);
        if (!fields)
            return refused(QStringLiteral("a quoted stop name is not closed"));
        if (fields->size() < 2)
            return refused(QStringLiteral("a stop needs a name and a ticket number"));
        if (fields->size() > 2 + FareRecord::kFareColumns)
            return refused(QStringLiteral("more than 150 fares"));
        FareRecord& record = records.emplace_back();
        record.StopName = fields->at(0);
        if (const Result<QByteArray> name = FareFile::nameBytes(record.StopName); !name)
            return RuntimeError(name.error().number(), where + name.error().description());
        if (records.size() > std::size_t(FareFile::kMaxRecords))
            return RuntimeError(
                RuntimeError::SubscriptOutOfRange,
                where + QStringLiteral("more than %1 stops").arg(FareFile::kMaxRecords));
        for (int column = 1; column <= FareRecord::kFareColumns + 1; ++column) {
            const bool given = column < fields->size() && !fields->at(column).trimmed().isEmpty();
            const std::optional<qint16> value = given ? toInt16(fields->at(column)) : qint16(0);
            if (!value)
                return refused((column == 1 ? QStringLiteral("the ticket number")
                                            : QStringLiteral("fare %1").arg(column - 1)) +
                               QStringLiteral(" is not a whole number from -32768 to 32767"));
            if (column == 1)
                record.SeiriNum = *value;
            else
                record.Fare[std::size_t(column - 1)] = *value;
        }
    }
    if (records.empty())
        return RuntimeError(RuntimeError::InvalidProcedureCall,
                            QStringLiteral("the file has no stops"));
    return records;
}

QString toCsv(const std::vector<FareRecord>& records) {
    QString csv;
    for (const FareRecord& record : records) {
        int last = FareRecord::kFareColumns;
        while (last > 0 && record.Fare[std::size_t(last)] == 0)
            --last;
        QStringList fields{quotedIfNeeded(record.StopName), QString::number(record.SeiriNum)};
        for (int column = 1; column <= last; ++column)
            fields << QString::number(record.Fare[std::size_t(column)]);
        csv += fields.join(u',') + u'\n';
    }
    return csv;
}

} // namespace Hy3Csv
