#pragma once

#include "gtfs/FeedFiles.h"

#include <QMap>
#include <QString>
#include <zip.h>

// Small feeds the tests write: file name → text, the required files filled in where a test
// leaves them out.
namespace SmallFeeds {

using Files = QMap<QString, QByteArray>;

// A route R of stops A, B, C, D (zones ZA to ZD), one trip, and the files given.
inline Files line(Files files = {}) {
    const Files defaults{
        {QStringLiteral("agency.txt"), "agency_id,agency_name\n1,Bus\n"},
        {QStringLiteral("stops.txt"),
         "stop_id,stop_name,zone_id\nA,駅前,ZA\nB,本町,ZB\nC,市役所,ZC\nD,終点,ZD\n"},
        {QStringLiteral("routes.txt"), "route_id,route_short_name,route_long_name\nR,1,本線\n"},
        {QStringLiteral("trips.txt"), "route_id,trip_id,direction_id\nR,T1,0\n"},
        {QStringLiteral("stop_times.txt"), "trip_id,stop_id,stop_sequence\nT1,A,1\nT1,B,2\n"
                                           "T1,C,3\nT1,D,4\n"},
    };
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        if (!files.contains(it.key()))
            files.insert(it.key(), it.value());
    return files;
}

// The files zipped, under the folder inside the zip when one is given.
inline QByteArray zipped(const Files& files, const QString& inside = {}) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);
    zip_t* zip = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        zip_source_t* file =
            zip_source_buffer(zip, it.value().constData(), zip_uint64_t(it.value().size()), 0);
        const zip_int64_t index =
            zip_file_add(zip, (inside + it.key()).toUtf8().constData(), file, ZIP_FL_ENC_UTF_8);
        // Stored, so a test can find and damage a file's bytes.
        zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    zip_close(zip);
    zip_source_open(buffer);
    zip_source_seek(buffer, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(buffer);
    zip_source_seek(buffer, 0, SEEK_SET);
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    zip_source_read(buffer, bytes.data(), zip_uint64_t(size));
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

inline FeedFiles inZip(const Files& files) {
    return FeedFiles::fromZip(QStringLiteral("test.zip"), zipped(files)).valueOrThrow();
}

} // namespace SmallFeeds
