#pragma once

#include <QString>
#include <vector>

class QImage;

namespace TestSupport {

// Reads NW-7 back from a row of modules or pixels (true = dark): the symbol's characters from
// start to stop, or empty when the row is not one symbol.
QString decodeNw7(const std::vector<bool>& row);

// The pixels of row y from left up to right, true where dark.
std::vector<bool> darkPixels(const QImage& image, int y, int left, int right);

} // namespace TestSupport
