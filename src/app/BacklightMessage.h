#pragma once

#include <QString>

// The text of the box that reports a panel picture that could not be shown: the error number
// and, for the numbers a user can act on, what it means.
QString backlightErrorText(int errorNumber);
