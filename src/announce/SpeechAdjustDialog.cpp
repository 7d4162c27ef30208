#include "SpeechAdjustDialog.h"

#include "platform/OkCancelButtons.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

// A slider over whole steps, with a label beside it that shows its value as the user sees it.
QSlider* addSlider(QFormLayout& form, const QString& caption, const QString& name, int low,
                   int high, int value, const std::function<QString(int)>& shown) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(name);
    slider->setRange(low, high);
    slider->setMinimumWidth(200);
    slider->setValue(value);
    auto* label = new QLabel(shown(value));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("+00.0 dB")));
    QObject::connect(slider, &QSlider::valueChanged, label,
                     [label, shown](int now) { label->setText(shown(now)); });
    auto* row = new QHBoxLayout;
    row->addWidget(slider);
    row->addWidget(label);
    form.addRow(caption, row);
    return slider;
}

} // namespace

SpeechAdjustDialog::SpeechAdjustDialog(QWidget* owner, const QString& title,
                                       const SpeechSettings& now, const QStringList& voices)
    : QDialog(owner), voice_(new QComboBox), now_(now) {
    setWindowTitle(title);
    setModal(true);
    voice_->setObjectName(QStringLiteral("voice"));
    for (const QString& file : voices)
        voice_->addItem(QFileInfo(file).completeBaseName(), file);
    voice_->setCurrentIndex(qMax(0, voices.indexOf(now.voice)));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("声："), voice_);
    speed_ = addSlider(*form, QStringLiteral("速さ："), QStringLiteral("speed"),
                       qRound(SpeechSettings::kMinSpeed * 100),
                       qRound(SpeechSettings::kMaxSpeed * 100), qRound(now.speed * 100),
                       [](int percent) { return QStringLiteral("%1 %").arg(percent); });
    pitch_ =
        addSlider(*form, QStringLiteral("高さ："), QStringLiteral("pitch"),
                  int(SpeechSettings::kMinPitch), int(SpeechSettings::kMaxPitch), qRound(now.pitch),
                  [](int tones) { return QStringLiteral("%1 半音").arg(tones); });
    volume_ = addSlider(*form, QStringLiteral("音量："), QStringLiteral("volume"),
                        int(SpeechSettings::kMinVolume), int(SpeechSettings::kMaxVolume),
                        qRound(now.volume),
                        [](int decibels) { return QStringLiteral("%1 dB").arg(decibels); });

    auto* sample = new QPushButton(QStringLiteral("試聴"));
    sample->setObjectName(QStringLiteral("sample"));
    connect(sample, &QPushButton::clicked, this, [this] { emit sampleAsked(shown()); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(sample, 0, Qt::AlignLeft);
    layout->addWidget(okCancelButtons(*this));
}

SpeechSettings SpeechAdjustDialog::shown() const {
    SpeechSettings settings = now_;
    settings.voice = voice_->currentData().toString();
    // Steps the user did not move keep the value they had, which may lie between steps.
    if (speed_->value() != qRound(now_.speed * 100))
        settings.speed = speed_->value() / 100.0;
    if (pitch_->value() != qRound(now_.pitch))
        settings.pitch = pitch_->value();
    if (volume_->value() != qRound(now_.volume))
        settings.volume = volume_->value();
    return settings;
}

std::optional<SpeechSettings>
SpeechAdjustDialog::ask(QWidget* owner, const QString& title, const SpeechSettings& now,
                        const QStringList& voices,
                        const std::function<void(const SpeechSettings&)>& hearSample) {
    SpeechAdjustDialog dialog(owner, title, now, voices);
    connect(&dialog, &SpeechAdjustDialog::sampleAsked, &dialog, hearSample);
    int answer = QDialog::Rejected;
    if (SpeechAdjustHook* hook = ScopedHook<SpeechAdjustHook>::current()) {
        hook->asked_.append({owner, title});
        if (hook->whileShown)
            hook->whileShown(dialog);
        answer = hook->answers_.isEmpty() ? QDialog::Rejected : hook->answers_.takeFirst();
    } else {
        answer = dialog.exec();
    }
    if (answer != QDialog::Accepted)
        return std::nullopt;
    return dialog.shown();
}

void SpeechAdjustHook::setNextAnswer(QDialog::DialogCode answer) {
    answers_.append(answer);
}
