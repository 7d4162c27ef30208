#include "KvRes.h"

#include "platform/DigitSettingsDialog.h"
#include "platform/ShiftJis.h"

#include <QSysInfo>

namespace KvRes {

int Call_dlg100(QWidget* owner, int keta, int& zeroMode, int& shift, int& fillZero) {
    DigitSettingsDialog dialog(owner, keta, zeroMode, shift, fillZero);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    zeroMode = dialog.zeroMode();
    shift = dialog.shift();
    fillZero = dialog.fillZero();
    return 1;
}

QString GetOsInfo() {
    return QSysInfo::prettyProductName();
}

int LenB_ASCII(const QString& text) {
    return int(ShiftJis::encode(text).size());
}

QString MidB_ASCII(const QString& text, int start, int count) {
    const QByteArray bytes = ShiftJis::encode(text);
    if (start < 1 || count <= 0 || start > bytes.size())
        return {};
    return ShiftJis::decode(bytes.mid(start - 1, count));
}

} // namespace KvRes
