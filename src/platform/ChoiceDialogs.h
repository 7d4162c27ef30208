#pragma once

#include "platform/KvRes.h"

// The choices asked of the user in dialogs on screen: the choice service of a program that has
// windows, installed by its root for its life.
class ChoiceDialogs : public KvRes::Choices {
public:
    std::optional<DigitSettings> digitSettings(QWidget* owner, int keta,
                                               const DigitSettings& now) override;
    QString existingFile(QWidget* owner, const QList<KvRes::FileFilter>& filters,
                         const QString& title) override;
    QString folder(QWidget* owner, const QString& prompt) override;
    std::optional<quint32> colour(QWidget* owner, quint32 start) override;
    QDate date(QWidget* owner) override;
    QString osInfo() override;
};
