#pragma once

#include "app/FareFile.h"
#include "app/FareRecord.h"
#include "platform/Result.h"

#include <QString>
#include <QVariant>
#include <array>

// The route that is set: the fare table read from its fare data file and where along it the
// display stands.
class DataIo {
public:
    static constexpr int kTableRows = FareFile::kMaxRecords;

    // Why a fare data file that could be read was refused: error numbers of their own, above
    // the run-time errors', each described by what route setting tells the user.
    enum Refusal { NoRecords = 1001, TooManyRecords, SectionTooLarge, Truncated };

    // Route number as entered, digits only, leading zeros kept ("00012").
    QString RouteNo;
    // Section entered at route setting, 1 to 300: the first record shown and the first fare
    // position written.
    qint16 StartSection = 0;
    // Records in the file loaded last.
    qint16 StopCount = 0;
    // 0-based index of the record shown; the record number is CurStop + 1.
    qint16 CurStop = 0;

    // Record r (1 to 301); anything else is error 9.
    const FareRecord& FareTable(int row) const;

    // Column 1 the name, 2 the ticket number, 3 to 152 fares 1 to 150; other rows or columns
    // are error 9.
    void SetFareField(int row, int column, const QVariant& value);
    void ClearFareTable();

    // The route's file in the folder: route 00012 gives "<folder>/12.hy3", an empty route 0.hy3.
    QString FareFilePath(const QString& folder) const;

    // Reads the route's file; the table and the position change only when it loads. A file that
    // cannot be found is error 53, one that cannot be opened 75, one that fails while read 57;
    // a file that was read but cannot be used gives its Refusal.
    Result<void> LoadFareFile(const QString& path);

private:
    std::array<FareRecord, kTableRows + 1> table_{};
};

// A folder as a path prefix: with a separator at its end unless it is empty.
QString withSeparator(const QString& folder);

// The leading number of a text, as a user typed it: "00012" is 12, "" and "x" are 0.
qint64 leadingNumber(const QString& text);
