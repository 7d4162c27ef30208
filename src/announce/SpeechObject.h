#pragma once

#include <QString>
#include <QStringList>

// The speech object the announcements speak through: the four operations the program uses,
// and a hint that lets the engine render texts before they are asked for.
class SpeechObject {
public:
    virtual ~SpeechObject() = default;

    // Starts speaking the text and returns at once; the text sounds when it is ready.
    virtual void Speak(const QString& text) = 0;
    // Cuts off the text being rendered or played, at once.
    virtual void Stop() = 0;
    // 1 while a text is being rendered or played, 0 when idle, -1 when the last Speak could not
    // start (nothing in the text to speak, or the renderer could not be run or failed); Stop and
    // a Speak that starts clear -1. An engine may learn of a failure only after Speak returned.
    virtual qint32 Status() const = 0;
    // Opens the voice adjustment dialog, modal on the window its maker chose, with the title.
    virtual void Adjust(const QString& title) = 0;

    // Not one of the speaking operations: the texts of a newly loaded announcement list, to be
    // rendered in the background so that speaking them starts at once.
    virtual void RenderAhead(const QStringList& texts) = 0;
};
