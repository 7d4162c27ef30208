#pragma once

#include <QString>

// Whether the file exists; an empty path or a folder is not a file.
bool fileExists(const QString& path);
