#include "DataIo.h"

#include "app/FareFileReader.h"
#include "platform/RuntimeError.h"

#include <QFile>

const FareRecord& DataIo::FareTable(int row) const {
    RuntimeError::checkSubscript(row, 1, kTableRows);
    return table_[std::size_t(row)];
}

void DataIo::SetFareField(int row, int column, const QVariant& value) {
    RuntimeError::checkSubscript(row, 1, kTableRows);
    FareRecord& record = table_[std::size_t(row)];
    if (column == 1)
        record.StopName = value.toString();
    else if (column == 2)
        record.SeiriNum = qint16(value.toInt());
    else if (column >= 3 && column <= FareRecord::kFareColumns + 2)
        record.Fare[std::size_t(column - 2)] = qint16(value.toInt());
    else
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
}

void DataIo::ClearFareTable() {
    table_.fill(FareRecord{});
}

QString DataIo::FareFilePath(const QString& folder) const {
    return withSeparator(folder) + QString::number(leadingNumber(RouteNo)) + QStringLiteral(".hy3");
}

DataIo::LoadResult DataIo::LoadFareFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        throw RuntimeError(RuntimeError::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(RuntimeError::PathFileAccessError);
    const QByteArray bytes = file.readAll();
    file.close();

    const std::optional<qint16> count = FareFileReader::recordCount(bytes);
    if (!count)
        return LoadResult::Truncated;
    if (*count == 0)
        return LoadResult::NoRecords;
    if (*count > kTableRows)
        return LoadResult::TooManyRecords;
    if (*count - 1 < StartSection)
        return LoadResult::SectionTooLarge;
    const std::optional<std::vector<FareRecord>> records = FareFileReader::records(bytes, *count);
    if (!records)
        return LoadResult::Truncated;

    StopCount = *count;
    CurStop = qint16(StartSection - 1);
    ClearFareTable();
    for (int row = 1; row <= *count; ++row) {
        const FareRecord& record = (*records)[std::size_t(row - 1)];
        SetFareField(row, 1, record.StopName);
        SetFareField(row, 2, record.SeiriNum);
        for (int column = 1; column <= FareRecord::kFareColumns; ++column)
            SetFareField(row, column + 2, record.Fare[std::size_t(column)]);
    }
    return LoadResult::Loaded;
}

QString withSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

qint64 leadingNumber(const QString& text) {
    qint64 value = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > 0x7F)
            break;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 999'999'999)
            break;
    }
    return value;
}
