#include "GtfsCsv.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView field) {
    while (!field.isEmpty() && isBlank(field.front()))
        field = field.sliced(1);
    while (!field.isEmpty() && isBlank(field.back()))
        field.chop(1);
    return field;
}

} // namespace

GtfsCsv::GtfsCsv(QString file, QByteArray bytes)
    : file_(std::move(file)), bytes_(std::move(bytes)) {
    if (bytes_.startsWith("\xEF\xBB\xBF"))
        pos_ = 3;
}

Result<GtfsCsv> GtfsCsv::open(const QString& file, QByteArray bytes) {
    GtfsCsv table(file, std::move(bytes));
    if (!table.next())
        return table.error_ ? *table.error_
                            : refusal(file, QStringLiteral("the file is empty, it has no header"));
    for (std::size_t i = 0; i < table.fields_.size(); ++i)
        table.header_.push_back(QString::fromUtf8(table.fields_[i]));
    return table;
}

int GtfsCsv::column(QStringView name) const {
    for (std::size_t i = 0; i < header_.size(); ++i)
        if (header_[i] == name)
            return int(i);
    return -1;
}

Result<int> GtfsCsv::required(QStringView name) const {
    const int found = column(name);
    if (found < 0)
        return refusal(QStringLiteral("%1, line 1").arg(file_),
                       QStringLiteral("the column %1 is missing").arg(name));
    return found;
}

bool GtfsCsv::next() {
    if (error_)
        return false;
    while (pos_ < bytes_.size()) {
        line_ = nextLine_;
        if (!readRow()) {
            error_ = refusal(QStringLiteral("%1, line %2").arg(file_).arg(line_),
                             QStringLiteral("a quoted field is never closed"));
            return false;
        }
        if (fields_.size() > 1 || !fields_.front().isEmpty())
            return true;
    }
    return false;
}

bool GtfsCsv::readRow() {
    fields_.clear();
    unescapedUsed_ = 0;
    const char* data = bytes_.constData();
    const qsizetype size = bytes_.size();
    for (;;) {
        qsizetype at = pos_;
        while (at < size && isBlank(data[at]))
            ++at;
        if (at < size && data[at] == '"') {
            const qsizetype start = ++at;
            bool doubled = false;
            for (;; ++at) {
                if (at >= size)
                    return false;
                if (data[at] == '\n')
                    ++nextLine_;
                if (data[at] != '"')
                    continue;
                if (at + 1 < size && data[at + 1] == '"') {
                    doubled = true;
                    ++at;
                    continue;
                }
                break;
            }
            QByteArrayView value(data + start, at - start);
            if (doubled) {
                if (unescapedUsed_ == unescaped_.size())
                    unescaped_.emplace_back();
                std::string& text = unescaped_[unescapedUsed_++];
                text.clear();
                for (qsizetype i = 0; i < value.size(); ++i) {
                    text += value[i];
                    if (value[i] == '"')
                        ++i;
                }
                value = QByteArrayView(text.data(), qsizetype(text.size()));
            }
            fields_.push_back(value);
            // Whatever stands between the closing quote and the next comma is not part of it.
            ++at;
            while (at < size && data[at] != ',' && data[at] != '\n')
                ++at;
        } else {
            const qsizetype start = at;
            while (at < size && data[at] != ',' && data[at] != '\n')
                ++at;
            QByteArrayView value(data + start, at - start);
            if (!value.isEmpty() && value.back() == '\r' && (at >= size || data[at] == '\n'))
                value.chop(1);
            fields_.push_back(trimmed(value));
        }
        if (at >= size) {
            pos_ = size;
            return true;
        }
        pos_ = at + 1;
        if (data[at] == '\n') {
            ++nextLine_;
            return true;
        }
    }
}

QByteArrayView GtfsCsv::raw(int column) const {
    if (column < 0 || std::size_t(column) >= fields_.size())
        return {};
    return fields_[std::size_t(column)];
}

RuntimeError GtfsCsv::refusal(int column, const QString& why) const {
    return refusal(QStringLiteral("%1, line %2, column %3 (%4)")
                       .arg(file_)
                       .arg(line_)
                       .arg(column + 1)
                       .arg(column >= 0 && std::size_t(column) < header_.size()
                                ? header_[std::size_t(column)]
                                : QString()),
                   why);
}

RuntimeError GtfsCsv::refusal(const QString& where, const QString& why) {
    return RuntimeError(RuntimeError::InvalidFileFormat, where + QStringLiteral(": ") + why);
}
