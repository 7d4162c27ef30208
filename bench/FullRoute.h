#pragma once

#include "Hy3Csv.h"
#include "app/FareFile.h"
#include "platform/SafeSave.h"

#include <QTemporaryDir>

// A route of 301 stops named 市役所前広場, every stop with all 150 fares set; from one stop to
// the next every fare changes.
inline QString writeFullRoute(const QTemporaryDir& dir) {
    QString csv;
    for (int r = 1; r <= 301; ++r) {
        csv += QStringLiteral("市役所前広場,%1").arg(r);
        for (int n = 1; n <= 150; ++n)
            csv += QStringLiteral(",%1").arg(170 + 10 * ((r + n) % 50));
        csv += u'\n';
    }
    const QString path = dir.filePath(QStringLiteral("12.hy3"));
    if (!SafeSave::write(path,
                         FareFile::encode(Hy3Csv::fromCsv(csv).valueOrThrow()).valueOrThrow()))
        qFatal("cannot write the route");
    return path;
}
