#pragma once

#include <QtGlobal>

class Form1;

// What is particular to the Q57 model: its fare positions and ticket-number labels, and the
// defaults the panel starts with.
namespace mdlQ57_000 {

// Whoever keeps the settings, as the model defaults see it: SetProp shows every display choice
// on the panel.
class DefaultsTarget {
public:
    virtual void SetProp() = 0;

protected:
    ~DefaultsTarget() = default;
};

void InitFareDegits(Form1& form);
void SetModelDefaults(Form1& form, DefaultsTarget& options);

// Writes the captions of labels 1..61 for the numbering style; a failure is reported in a box.
void SeirikenNumSet(Form1& form, int style, int zeroPad);

} // namespace mdlQ57_000
