#include "FareFileReader.h"

#include "platform/ShiftJis.h"

#include <QtEndian>

namespace FareFileReader {

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

} // namespace

std::optional<qint16> recordCount(const QByteArray& bytes) {
    if (bytes.size() < kCountSize)
        return std::nullopt;
    return qFromLittleEndian<qint16>(bytes.constData());
}

std::optional<std::vector<FareRecord>> records(const QByteArray& bytes, int count) {
    std::vector<FareRecord> result(std::size_t(std::max(count, 0)));
    Cursor cursor(bytes);
    for (FareRecord& record : result) {
        if (!cursor.has(2))
            return std::nullopt;
        const quint16 nameLength = cursor.word();
        if (!cursor.has(nameLength + 2 + 2 * FareRecord::kFareColumns))
            return std::nullopt;
        record.StopName = ShiftJis::decode(cursor.take(nameLength));
        record.SeiriNum = qint16(cursor.word());
        for (int column = 1; column <= FareRecord::kFareColumns; ++column)
            record.Fare[std::size_t(column)] = qint16(cursor.word());
    }
    return result;
}

} // namespace FareFileReader
