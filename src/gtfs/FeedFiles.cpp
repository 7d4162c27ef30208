#include "FeedFiles.h"

#include "platform/FileBytes.h"

#include <QDir>
#include <QFileInfo>
#include <memory>
#include <zip.h>

namespace {

// Larger than any timetable of a real operator; a zip that claims more is refused rather than
// unpacked into memory.
constexpr zip_uint64_t kMaxFileSize = zip_uint64_t(1) << 30;

RuntimeError damaged(const QString& where, const QString& why) {
    return RuntimeError(RuntimeError::InvalidFileFormat, where + QStringLiteral(": ") + why);
}

struct ZipCloser {
    void operator()(zip_t* zip) const { zip_discard(zip); }
};
struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using Zip = std::unique_ptr<zip_t, ZipCloser>;

// The archive over the bytes, which must outlive it.
Result<Zip> openZip(const QString& name, const QByteArray& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    zip_t* zip = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (zip == nullptr) {
        const QString why = QString::fromUtf8(zip_error_strerror(&error));
        if (source != nullptr)
            zip_source_free(source);
        zip_error_fini(&error);
        return damaged(name, QStringLiteral("not a zip file that can be read (%1)").arg(why));
    }
    zip_error_fini(&error);
    return Zip(zip);
}

} // namespace

Result<FeedFiles> FeedFiles::open(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) {
        FeedFiles files;
        files.name_ = path;
        files.folder_ = path;
        return files;
    }
    Result<QByteArray> bytes = FileBytes::read(path);
    if (!bytes)
        return RuntimeError(bytes.error().number(),
                            path + QStringLiteral(": ") + bytes.error().description());
    return fromZip(path, std::move(bytes).value());
}

Result<FeedFiles> FeedFiles::fromZip(const QString& name, QByteArray zip) {
    if (const Result<Zip> opened = openZip(name, zip); !opened)
        return opened.error();
    FeedFiles files;
    files.name_ = name;
    files.zip_ = std::move(zip);
    return files;
}

Result<std::optional<QByteArray>> FeedFiles::read(const QString& name) const {
    if (!folder_.isEmpty()) {
        const QStringList found = QDir(folder_).entryList({name}, QDir::Files, QDir::Name);
        if (found.isEmpty())
            return std::optional<QByteArray>();
        Result<QByteArray> bytes = FileBytes::read(QDir(folder_).filePath(found.first()));
        if (!bytes)
            return RuntimeError(bytes.error().number(),
                                name + QStringLiteral(": ") + bytes.error().description());
        return std::optional<QByteArray>(std::move(bytes).value());
    }
    const Result<Zip> zip = openZip(name_, zip_);
    if (!zip)
        return zip.error();
    const QByteArray entryName = name.toUtf8();
    const zip_int64_t index =
        zip_name_locate(zip.value().get(), entryName.constData(), ZIP_FL_NOCASE | ZIP_FL_NODIR);
    if (index < 0)
        return std::optional<QByteArray>();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(zip.value().get(), zip_uint64_t(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE))
        return damaged(name_, QStringLiteral("%1 is damaged").arg(name));
    if (stat.size > kMaxFileSize)
        return damaged(name_, QStringLiteral("%1 is larger than a feed file can be").arg(name));
    std::unique_ptr<zip_file_t, EntryCloser> entry(
        zip_fopen_index(zip.value().get(), zip_uint64_t(index), 0));
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    // libzip checks the CRC once the entry is read to its end: one byte more is asked for.
    char past = 0;
    if (entry == nullptr ||
        zip_fread(entry.get(), bytes.data(), stat.size) != zip_int64_t(stat.size) ||
        zip_fread(entry.get(), &past, 1) != 0)
        return damaged(
            name_,
            QStringLiteral("%1 is damaged (%2)")
                .arg(name, QString::fromUtf8(entry != nullptr ? zip_file_strerror(entry.get())
                                                              : zip_strerror(zip.value().get()))));
    return std::optional<QByteArray>(std::move(bytes));
}
