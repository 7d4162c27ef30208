#pragma once

#include "announce/SpeechSettings.h"
#include "platform/ScopedHook.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QSlider;

// "音声の調節": the voice, its speed, pitch and volume, and a button to hear a sample sentence
// with what the dialog shows.
class SpeechAdjustDialog : public QDialog {
    Q_OBJECT
public:
    SpeechAdjustDialog(QWidget* owner, const QString& title, const SpeechSettings& now,
                       const QStringList& voices);

    // What the controls show now.
    SpeechSettings shown() const;

    // Opens the dialog modal on the owner and gives the settings chosen with OK, or nothing when
    // cancelled. hearSample is called with the settings shown each time the sample is asked for.
    static std::optional<SpeechSettings>
    ask(QWidget* owner, const QString& title, const SpeechSettings& now, const QStringList& voices,
        const std::function<void(const SpeechSettings&)>& hearSample);

signals:
    void sampleAsked(const SpeechSettings& shown);

private:
    QComboBox* voice_;
    QSlider* speed_;  // percent
    QSlider* pitch_;  // half-tones
    QSlider* volume_; // dB
    SpeechSettings now_;
};

// For tests: while one lives, the dialog is made but not shown. whileShown runs with it, at the
// moment it would be on screen, and may work its controls; then the dialog closes with the next
// answer given to setNextAnswer, or is cancelled when none is left. Each dialog asked for is
// kept in asked().
class SpeechAdjustHook {
public:
    struct Asked {
        QPointer<QWidget> owner;
        QString title;
    };

    static constexpr const char* kHookName = "speech adjustment hook";

    void setNextAnswer(QDialog::DialogCode answer);
    const QList<Asked>& asked() const { return asked_; }

    std::function<void(SpeechAdjustDialog&)> whileShown;

private:
    friend class SpeechAdjustDialog;
    QList<QDialog::DialogCode> answers_;
    QList<Asked> asked_;
    ScopedHook<SpeechAdjustHook> installed_{*this};
};
