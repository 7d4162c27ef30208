// Makes fare data files for the simulator from CSV, and shows one back as CSV.
//
//   hy3csv ROUTE.csv ROUTE.hy3     build the fare data file from the CSV file
//   hy3csv --csv ROUTE.hy3         print the fare data file as CSV

#include "Hy3Csv.h"

#include "app/FareFileReader.h"

#include <QFile>
#include <QSaveFile>
#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "hy3csv: %s\n", message.toUtf8().constData());
    return 1;
}

int printCsv(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(path + QStringLiteral(": ") + file.errorString());
    const QByteArray bytes = file.readAll();
    const std::optional<qint16> count = FareFileReader::recordCount(bytes);
    if (!count || *count < 0)
        return fail(path + QStringLiteral(": not a fare data file"));
    const auto records = FareFileReader::records(bytes, *count);
    if (!records)
        return fail(path + QStringLiteral(": the file ends inside a stop"));
    std::fputs(Hy3Csv::toCsv(*records).toUtf8().constData(), stdout);
    return 0;
}

int buildFareFile(const QString& csvPath, const QString& fareFilePath) {
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly))
        return fail(csvPath + QStringLiteral(": ") + csv.errorString());
    const Hy3Csv::Conversion conversion = Hy3Csv::fromCsv(QString::fromUtf8(csv.readAll()));
    if (!conversion.error.isEmpty())
        return fail(csvPath + QStringLiteral(": ") + conversion.error);
    QSaveFile out(fareFilePath);
    if (!out.open(QIODevice::WriteOnly) || out.write(conversion.fareFile) < 0 || !out.commit())
        return fail(fareFilePath + QStringLiteral(": ") + out.errorString());
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
