#include "mdlIniIo.h"

namespace mdlIniIo {

void LoadIni(Form1&) {}

void SaveIni(Form1&) {}

} // namespace mdlIniIo
