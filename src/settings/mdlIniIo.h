#pragma once

class Form1;

// The settings file beside the program. It joins the program later; until
// then every start begins from the designed defaults and nothing is written.
namespace mdlIniIo {

void LoadIni(Form1& form);
void SaveIni(Form1& form);

} // namespace mdlIniIo
