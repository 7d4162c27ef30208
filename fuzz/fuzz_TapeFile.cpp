// Any bytes as an announcement file: no announcement starts without a line of its own, and the
// announcements of a file that reads, written again with every text quoted, read back the same.

#include "FuzzSupport.h"
#include "announce/TapeFile.h"

using FuzzSupport::check;

namespace {

QByteArray quoted(const std::vector<TapeData>& announcements) {
    QString text;
    for (const TapeData& a : announcements)
        text += u'"' + QString(a.Text).replace(u'"', QStringLiteral("\"\"")) +
                QStringLiteral("\",%1,%2\r\n").arg(a.DataLink).arg(a.SoundFlag);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The program refuses a larger file unread.
    if (qint64(size) > TapeFile::kMaxFileBytes)
        return 0;
    const QByteArray bytes = FuzzSupport::bytesOf(data, size);
    const Result<std::vector<TapeData>> read = TapeFile::read(bytes);
    if (!read)
        return 0;
    check(read.value().size() <= std::size_t(TapeFile::lines(bytes).size()),
          "no more announcements than lines");
    const Result<std::vector<TapeData>> reread = TapeFile::read(quoted(read.value()));
    check(reread && reread.value() == read.value(), "quoted announcements read back the same");
    return 0;
}
