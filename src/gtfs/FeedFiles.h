#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The files of a feed as operators publish it: a zip of .txt files (also when they sit in a
// folder inside it), or a folder that holds them. Names are found without regard to case.
class FeedFiles {
public:
    // The feed at the path: a folder, or else a zip file. Error 53 for nothing there, 321 for a
    // file that is not a zip that can be read.
    static Result<FeedFiles> open(const QString& path);
    // A zip already read; name is what messages call it.
    static Result<FeedFiles> fromZip(const QString& name, QByteArray zip);

    // The file's bytes, nothing when the feed has no such file, or an error for one that cannot
    // be read (damaged, or larger than any feed file can be).
    Result<std::optional<QByteArray>> read(const QString& name) const;

private:
    FeedFiles() = default;

    QString name_;
    QString folder_;
    QByteArray zip_;
};
