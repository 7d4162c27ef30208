#pragma once

#include <QStringList>

struct PlgInfo;

namespace PluginCapabilities {

// The lines the options dialog lists for a plug-in's capabilities: what it prints (a flag counts
// only when it is exactly 1), the bar code's details only when it prints one, and whether the
// company name can be switched (any value of 1 or more).
QStringList lines(const PlgInfo& info);

} // namespace PluginCapabilities
