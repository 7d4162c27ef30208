#pragma once

class QApplication;

namespace QtJapanese {

// Has Qt's own dialogs (file, folder and colour choice, message box buttons) speak Japanese,
// whatever the desktop's language, as the rest of the program does. Without the translation
// files they stay in English.
void install(QApplication& app);

} // namespace QtJapanese
