// Any bytes as a CSV route source: a source that parses makes a fare data file that reads back
// as its stops (names as Shift-JIS stores them), and the CSV printed from that file parses as
// the same stops again.

#include "FuzzSupport.h"
#include "Hy3Csv.h"
#include "app/FareFile.h"

using FuzzSupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<std::vector<FareRecord>> parsed =
        Hy3Csv::fromCsv(QString::fromUtf8(FuzzSupport::bytesOf(data, size)));
    if (!parsed)
        return 0;
    const std::vector<FareRecord>& stops = parsed.value();
    check(!stops.empty() && stops.size() <= std::size_t(FareFile::kMaxRecords),
          "a parsed route has 1 to 301 stops");

    const Result<QByteArray> file = FareFile::encode(stops);
    check(bool(file), "a parsed route can be written");
    const Result<qint16> count = FareFile::recordCount(file.value());
    check(count && std::size_t(count.value()) == stops.size(), "the file counts every stop");
    const Result<std::vector<FareRecord>> read = FareFile::records(file.value(), count.value());
    check(bool(read), "a written route reads");
    std::vector<FareRecord> stored = stops;
    for (FareRecord& stop : stored)
        stop.StopName = ShiftJis::decode(ShiftJis::encode(stop.StopName));
    check(read.value() == stored, "a written route reads back as its stops");

    const Result<std::vector<FareRecord>> printed = Hy3Csv::fromCsv(Hy3Csv::toCsv(read.value()));
    check(printed && printed.value() == read.value(), "the printed CSV parses as the same stops");
    return 0;
}
