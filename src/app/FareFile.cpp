#include "FareFile.h"

#include "platform/ShiftJis.h"

#include <QtEndian>
#include <limits>

namespace FareFile {

namespace {

constexpr qsizetype kCountSize = 2;

class Cursor {
public:
    explicit Cursor(const QByteArray& bytes) : bytes_(bytes) {}

    bool has(qsizetype size) const { return bytes_.size() - position_ >= size; }
    quint16 word() {
        const quint16 value = qFromLittleEndian<quint16>(bytes_.constData() + position_);
        position_ += 2;
        return value;
    }
    QByteArray take(qsizetype size) {
        const QByteArray part = bytes_.mid(position_, size);
        position_ += size;
        return part;
    }

private:
    const QByteArray& bytes_;
    qsizetype position_ = kCountSize;
};

void appendWord(QByteArray& bytes, quint16 value) {
    char word[2];
    qToLittleEndian(value, word);
    bytes.append(word, 2);
}

} // namespace

Result<qint16> recordCount(const QByteArray& bytes) {
    if (bytes.size() < kCountSize)
        return RuntimeError(RuntimeError::InputPastEndOfFile);
    return qFromLittleEndian<qint16>(bytes.constData());
}

Result<std::vector<FareRecord>> records(const QByteArray& bytes, int count) {
    std::vector<FareRecord> result(std::size_t(std::max(count, 0)));
    Cursor cursor(bytes);
    for (FareRecord& record : result) {
        if (!cursor.has(2))
            return RuntimeError(RuntimeError::InputPastEndOfFile);
        const quint16 nameLength = cursor.word();
        if (!cursor.has(nameLength + 2 + 2 * FareRecord::kFareColumns))
            return RuntimeError(RuntimeError::InputPastEndOfFile);
        record.StopName = ShiftJis::decode(cursor.take(nameLength));
        // The decoder leaves room for the worst case; a route keeps 301 names for its whole run.
        record.StopName.squeeze();
        record.SeiriNum = qint16(cursor.word());
        for (int column = 1; column <= FareRecord::kFareColumns; ++column)
            record.Fare[std::size_t(column)] = qint16(cursor.word());
    }
    return result;
}

Result<QByteArray> nameBytes(const QString& name) {
    const QByteArray bytes = ShiftJis::encode(name);
    // The codec writes '?' for what it cannot encode.
    if (bytes.count('?') != name.count(u'?'))
        return RuntimeError(RuntimeError::InvalidProcedureCall,
                            QStringLiteral("the stop name has characters Shift-JIS lacks"));
    if (bytes.size() > std::numeric_limits<quint16>::max())
        return RuntimeError(RuntimeError::Overflow, QStringLiteral("the stop name is too long"));
    return bytes;
}

Result<QByteArray> encode(const std::vector<FareRecord>& records) {
    if (records.size() > std::size_t(kMaxRecords))
        return RuntimeError(RuntimeError::SubscriptOutOfRange,
                            QStringLiteral("more than %1 stops").arg(kMaxRecords));
    QByteArray file;
    appendWord(file, quint16(records.size()));
    for (std::size_t r = 0; r < records.size(); ++r) {
        const FareRecord& record = records[r];
        const Result<QByteArray> name = nameBytes(record.StopName);
        if (!name)
            return RuntimeError(
                name.error().number(),
                QStringLiteral("stop %1: %2").arg(r + 1).arg(name.error().description()));
        appendWord(file, quint16(name.value().size()));
        file.append(name.value());
        appendWord(file, quint16(record.SeiriNum));
        for (int column = 1; column <= FareRecord::kFareColumns; ++column)
            appendWord(file, quint16(record.Fare[std::size_t(column)]));
    }
    return file;
}

} // namespace FareFile
