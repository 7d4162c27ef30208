#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QString>
#include <QVector>

namespace TestSupport {

// A video file read back through GStreamer's decodebin.
struct DecodedVideo {
    static constexpr int kRate = 48000;

    QString error; // empty when it decoded to its end
    qint64 frameCount = 0;
    QMap<qint64, QImage> frames; // the frame shown at each time asked for, RGB32
    QVector<qint16> audio;       // mono at kRate

    // The loudest sample between the two times, 0 to 32767.
    int peak(qint64 fromMs, qint64 toMs) const;
};

DecodedVideo decodeVideo(const QString& path, const QList<qint64>& atMs);

} // namespace TestSupport
