#pragma once

#include <QString>

// What the desktop does with a path.
namespace Shell {

// Opens a folder in the desktop's file browser. Failures are the desktop's business and stay
// silent; an empty path opens nothing.
void openFolder(const QString& path);

} // namespace Shell
