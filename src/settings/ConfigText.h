#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <functional>

// The small "name=value" files the program keeps in the user's configuration folder beside the
// settings file (the speech voice, the panel's scale): one value a line, blank lines skipped.
namespace ConfigText {

// Hands each line's name and value to take; false when a line has no '=' or take refuses it,
// which makes the whole file damaged.
bool forEachValue(const QByteArray& text,
                  const std::function<bool(const QByteArray& name, const QByteArray& value)>& take);

// The file's text, read bounded: a few short lines, so anything larger is not ours.
Result<QByteArray> read(const QString& path);
// Written whole or not at all, its folder made first.
Result<void> write(const QString& path, const QByteArray& text);

} // namespace ConfigText
