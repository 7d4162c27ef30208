// Any bytes as a fare data file: reading stays inside the bytes, and the records of a file that
// reads are written to a file that reads back as the same records.

#include "FuzzSupport.h"
#include "app/FareFile.h"

using FuzzSupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The program refuses a larger file unread.
    if (qint64(size) > FareFile::kMaxFileBytes)
        return 0;
    const QByteArray bytes = FuzzSupport::bytesOf(data, size);
    const Result<qint16> count = FareFile::recordCount(bytes);
    check(bool(count) == (size >= 2), "the record count reads whenever there are two bytes");
    // Larger counts walk the same loop over bigger tables; the program refuses them anyway.
    if (!count || count.value() > FareFile::kMaxRecords)
        return 0;
    const Result<std::vector<FareRecord>> records = FareFile::records(bytes, count.value());
    if (!records)
        return 0;
    check(records.value().size() == std::size_t(std::max<int>(count.value(), 0)),
          "a file that reads gives as many records as it counts");

    const Result<QByteArray> written = FareFile::encode(records.value());
    check(bool(written), "records read from a file can be written");
    const Result<std::vector<FareRecord>> reread =
        FareFile::records(written.value(), int(records.value().size()));
    check(reread && reread.value() == records.value(), "written records read back the same");
    check(FareFile::encode(reread.value()).value() == written.value(),
          "a written file is written again byte for byte");
    return 0;
}
