#include "DataIo.h"

#include "platform/FileBytes.h"
#include "platform/RuntimeError.h"

#include <algorithm>

namespace {

// The one place these texts are written; route setting shows them as they are.
QString refusalText(DataIo::Refusal refusal) {
    switch (refusal) {
    case DataIo::NoRecords:
        return QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...");
    case DataIo::TooManyRecords:
        return QStringLiteral("指定した系統のデータの数が301を超えています。"
                              "このデータは扱えません...");
    case DataIo::SectionTooLarge:
        return QStringLiteral("指定した区間はデータの数よりも多いです...\n"
                              "  解決法：正しい区間を入力して下さい.");
    case DataIo::Truncated:
        return QStringLiteral("指定した系統のデータファイルが途中で切れています"
                              "（ファイルが壊れている可能性があります）...");
    }
    return {};
}

RuntimeError refused(DataIo::Refusal refusal) {
    return {refusal, refusalText(refusal)};
}

} // namespace

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

Result<void> DataIo::LoadFareFile(const QString& path) {
    const Result<QByteArray> bytes = FileBytes::read(path, FareFile::kMaxFileBytes);
    if (!bytes)
        return bytes.error();
    const Result<qint16> count = FareFile::recordCount(bytes.value());
    if (!count)
        return refused(Truncated);
    if (count.value() == 0)
        return refused(NoRecords);
    if (count.value() > kTableRows)
        return refused(TooManyRecords);
    if (count.value() - 1 < StartSection)
        return refused(SectionTooLarge);
    const Result<std::vector<FareRecord>> records = FareFile::records(bytes.value(), count.value());
    if (!records)
        return refused(Truncated);

    StopCount = count.value();
    CurStop = qint16(StartSection - 1);
    ClearFareTable();
    std::copy(records.value().begin(), records.value().end(), table_.begin() + 1);
    return {};
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
