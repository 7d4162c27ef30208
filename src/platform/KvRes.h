#pragma once

#include <QString>

class QWidget;

// Our stand-in for the maker's resource library: its dialogs and its Shift-JIS byte functions.
namespace KvRes {

// Digit settings dialog, modal to owner. Returns 1 when confirmed (the three values then hold
// the user's choice) and 0 when cancelled (they are left as they were).
int Call_dlg100(QWidget* owner, int keta, int& zeroMode, int& shift, int& fillZero);

// The running system's name, for example "Debian GNU/Linux 12 (bookworm)".
QString GetOsInfo();

// Length of the text in Shift-JIS bytes.
int LenB_ASCII(const QString& text);

// Bytes start .. start + count - 1 (1-based) of the Shift-JIS text, decoded again. Where the
// range cuts a double-byte character, a lone lead byte is dropped and a lone trail byte reads
// as whatever single-byte character it is in code page 932.
QString MidB_ASCII(const QString& text, int start, int count);

} // namespace KvRes
