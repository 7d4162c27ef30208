#pragma once

class QWidget;

// The look the unit's software windows share: the classic grey face, grey captions on unusable
// controls, and "ＭＳ Ｐゴシック" at 12 pixels.
namespace ClassicLook {

void apply(QWidget& window);

} // namespace ClassicLook
