#pragma once

#include "platform/ScreenFit.h"

class QWidget;

namespace OnScreen {

// Moves a top-level window where ScreenFit places it among the screens attached now; one
// already there keeps its position to the pixel.
void keep(QWidget& window, ScreenFit::Fit fit);

} // namespace OnScreen
