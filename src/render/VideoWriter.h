#pragma once

#include "platform/Result.h"

#include <QSize>
#include <QString>
#include <memory>

class RideAudio;
typedef struct _GstBus GstBus;
typedef struct _GstElement GstElement;

// Writes a rendered ride into a video file: WebM (VP8 and Vorbis), or MP4 (H.264 and AAC) where
// those encoders are installed. The frames come in order, one every 1/fps; the ride's sound is
// mixed up to each frame's time as it comes, so nothing waits in memory for the end. The file is
// written under another name and takes its own only when it is complete.
class VideoWriter {
public:
    struct Options {
        QString path; // .webm or .mp4
        QSize frameSize;
        int fps = 30;
    };

    // The writer, or why it cannot write that file (a folder that cannot be written, a missing
    // encoder: the message names the package).
    static Result<std::unique_ptr<VideoWriter>> open(const Options& options,
                                                     const RideAudio& audio);
    // Without finish() the half-written file is removed.
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // The next frame: the bits of a QImage::Format_RGB32 picture of the frame size, given once
    // the ride's clock has reached the frame's time (the sound up to it is mixed then).
    Result<void> addFrame(const uchar* rgb32, qsizetype bytesPerLine);
    // Ends the streams and gives the file its name; it lasts as long as the frames given.
    Result<void> finish();

    qint64 frames() const { return frames_; }

private:
    VideoWriter(const Options& options, const RideAudio& audio);
    Result<void> start();
    qint64 sampleAt(qint64 frame) const;
    Result<void> pushAudio(qint64 toSample);
    // An error the pipeline reported, if any, or a failure saying what was being done.
    RuntimeError failure(const QString& doing);
    Result<void> abandon(const RuntimeError& error);
    // Stops the pipeline and lets go of it; nothing when there is none.
    void release();

    Options options_;
    const RideAudio& audio_;
    QString part_;
    GstElement* pipeline_ = nullptr;
    GstElement* video_ = nullptr;
    GstElement* sound_ = nullptr;
    GstBus* bus_ = nullptr;
    qint64 frames_ = 0;
    qint64 samples_ = 0; // audio pushed so far
};
