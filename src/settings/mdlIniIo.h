#pragma once

class Form1;
class QString;

// The settings file beside the program: read once when the display panel loads, written once
// when the program ends.
namespace mdlIniIo {

// The program's folder, its name and ".in4": Q57 keeps its settings in Q57.in4 beside it.
QString IniFileName();
// Lets a test keep its settings away from the program's; an empty name returns to IniFileName's
// own choice.
void setIniFileName(const QString& name);

// Reads the file and hands every setting to the windows. A missing file leaves them as designed;
// a damaged one is reported and applies nothing.
void LoadIni(Form1& form);
// Collects every setting from the windows and replaces the file, which stays as it was when the
// new one cannot be written completely.
void SaveIni(Form1& form);

} // namespace mdlIniIo
