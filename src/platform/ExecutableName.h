#pragma once

#include <QString>

// The running program file's name without its extension: the model number (Q57), which names
// the settings file and the sound devices and is shown in the panel's caption.
QString executableName();
