#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <deque>
#include <string>
#include <vector>

// One file of a feed, read as the GTFS reference defines CSV: UTF-8 with or without a
// byte-order mark, lines ending in CR LF or LF, fields in double quotes may hold commas, line
// breaks and doubled quotes, columns found by their names in the first line. Blanks around an
// unquoted field are not part of it; lines of nothing are skipped.
class GtfsCsv {
public:
    // The table of the file's bytes; error 321 when it has no header line.
    static Result<GtfsCsv> open(const QString& file, QByteArray bytes);

    const QString& file() const { return file_; }

    // The position of the named column, or -1 when the file has none.
    int column(QStringView name) const;
    // The same, or an error naming the file and the column when it is missing.
    Result<int> required(QStringView name) const;

    // Moves to the next row: false at the end of the file or, with error() set, at a quoted
    // field that is never closed.
    bool next();
    // The error that ended the rows early.
    const std::optional<RuntimeError>& error() const { return error_; }

    // The field of the current row; empty for column -1 or a row that ends before it.
    QByteArrayView raw(int column) const;
    QString field(int column) const { return QString::fromUtf8(raw(column)); }
    // The line the current row starts on, 1 for the header.
    qsizetype line() const { return line_; }

    // A refusal of the current row's field in that column: file, line and column.
    RuntimeError refusal(int column, const QString& why) const;
    // A refusal of a whole feed file, or of one of its places.
    static RuntimeError refusal(const QString& where, const QString& why);

private:
    GtfsCsv(QString file, QByteArray bytes);
    // Reads one row's fields into fields_, from pos_; false when a quote is never closed.
    bool readRow();

    QString file_;
    QByteArray bytes_;
    qsizetype pos_ = 0;
    qsizetype nextLine_ = 1;
    qsizetype line_ = 0;
    std::vector<QString> header_;
    std::vector<QByteArrayView> fields_;
    // Fields with doubled quotes, unescaped; a deque keeps the views on them valid.
    std::deque<std::string> unescaped_;
    std::size_t unescapedUsed_ = 0;
    std::optional<RuntimeError> error_;
};
