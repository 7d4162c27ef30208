// Makes fare data files for the simulator from CSV, and shows one back as CSV.
//
//   hy3csv ROUTE.csv ROUTE.hy3     build the fare data file from the CSV file
//   hy3csv --csv ROUTE.hy3         print the fare data file as CSV

#include "Hy3Csv.h"

#include "app/FareFile.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"

#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "hy3csv: %s\n", message.toUtf8().constData());
    return 1;
}

QString errorText(const RuntimeError& error) {
    return QStringLiteral("error %1, %2").arg(error.number()).arg(error.description());
}

int printCsv(const QString& path) {
    const Result<QByteArray> bytes = FileBytes::read(path, FareFile::kMaxFileBytes);
    if (!bytes)
        return fail(path + QStringLiteral(": ") + errorText(bytes.error()));
    const Result<qint16> count = FareFile::recordCount(bytes.value());
    if (!count || count.value() < 0)
        return fail(path + QStringLiteral(": not a fare data file"));
    const auto records = FareFile::records(bytes.value(), count.value());
    if (!records)
        return fail(path + QStringLiteral(": the file ends inside a stop"));
    std::fputs(Hy3Csv::toCsv(records.value()).toUtf8().constData(), stdout);
    return 0;
}

int buildFareFile(const QString& csvPath, const QString& fareFilePath) {
    const Result<QByteArray> csv = FileBytes::read(csvPath);
    if (!csv)
        return fail(csvPath + QStringLiteral(": ") + errorText(csv.error()));
    const auto records = Hy3Csv::fromCsv(QString::fromUtf8(csv.value()));
    if (!records)
        return fail(csvPath + QStringLiteral(": ") + records.error().description());
    const Result<QByteArray> fareFile = FareFile::encode(records.value());
    if (!fareFile)
        return fail(csvPath + QStringLiteral(": ") + fareFile.error().description());
    if (const Result<void> saved = SafeSave::write(fareFilePath, fareFile.value()); !saved)
        return fail(fareFilePath + QStringLiteral(": not written (") + errorText(saved.error()) +
                    QStringLiteral("); a file already there is unchanged"));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--csv"))
        return printCsv(QString::fromLocal8Bit(argv[2]));
    if (argc == 3)
        return buildFareFile(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    std::fputs("usage: hy3csv ROUTE.csv ROUTE.hy3\n       hy3csv --csv ROUTE.hy3\n", stderr);
    return 2;
}
