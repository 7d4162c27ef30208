#include "mdlM_Tape.h"

#include <QFileInfo>
#include <QGroupBox>

namespace mdlM_Tape {

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

void InitSpeech(QGroupBox& grpM_Tape) {
    grpM_Tape.setTitle(QStringLiteral("音合使用不可"));
    grpM_Tape.setEnabled(false);
}

bool SpeechEnabled() {
    return false;
}

void ReleaseSpeech() {}

void LoadTapeData(const QString&, const QString&) {}

} // namespace mdlM_Tape
