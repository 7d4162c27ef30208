#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// One announcement: the text spoken, whether stepping to it also steps the fares (DataLink 1),
// and which pre-announcement sound it asks for (SoundFlag 1 to 3).
struct TapeData {
    QString Text;
    qint16 DataLink = 0;
    qint16 SoundFlag = 0;

    bool operator==(const TapeData&) const = default;
};

// The route's announcement file (12tp.csv for route 12): one announcement a line, three values
// separated by commas: the text, DataLink and SoundFlag. Shift-JIS, or UTF-8 when the file
// begins with the UTF-8 byte-order mark; lines end in CR LF or LF.
//
// Values are read as list input: a value that begins with a double quote runs to the closing
// quote and may hold commas ("" inside it is one quote; anything between the closing quote and
// the next comma is dropped); any other value runs to the next comma or the end of its line,
// without the blanks around it. A line with fewer than three values takes the rest from the
// next line; values after the third of an announcement are notes and not read. Lines of
// nothing but blanks are not lines at all. The numbers are whole numbers in the signed 16-bit
// range, a sign allowed; an empty one is 0, one with decimals is rounded to the nearest whole
// number (halves to the even one).
namespace TapeFile {

// The largest announcement file read: 512 bytes for each of the 32767 announcements a 16-bit
// count numbers, far more than any route speaks. A larger file is refused before it is read.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

// The announcement file of the route in the folder (which ends in a separator or is empty, for
// the current folder). Where the file system tells case apart and the name as the program
// writes it ("12tp.csv") is not there, a file of that name in any case ("12TP.CSV") is taken.
QString path(const QString& folder, const QString& routeNo);

// The file's lines, decoded, without their line ends and without blank lines.
QStringList lines(const QByteArray& bytes);

// Reads the announcements of the lines one at a time, the way the program stores them: a
// failure leaves what was read before it in place.
class Reader {
public:
    explicit Reader(QStringList lines);

    // Nothing left to read.
    bool atEnd() const { return line_ >= lines_.size(); }
    // The next announcement. Error 62 when the lines end inside it, 13 for a number that is
    // not one, 6 for one outside the signed 16-bit range.
    Result<TapeData> next();

private:
    Result<QString> value();
    Result<qint16> number();
    void release();

    QStringList lines_;
    qsizetype line_ = 0;
    qsizetype column_ = 0;
};

// Every announcement of the file, or the first failure as the reader gives it.
Result<std::vector<TapeData>> read(const QByteArray& bytes);

// The file of these announcements as read() takes it back: Shift-JIS, CR LF, every text in
// quotes. The codec writes what Shift-JIS lacks as '?'; callers replace such characters first.
QByteArray encode(const std::vector<TapeData>& records);

} // namespace TapeFile
