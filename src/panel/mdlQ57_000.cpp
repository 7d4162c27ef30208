#include "mdlQ57_000.h"

#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "panel/LabelLook.h"
#include "panel/Q57Layout.h"
#include "panel/SeirikenLabels.h"
#include "platform/MsgBox.h"
#include "platform/RuntimeError.h"

#include <QLabel>

namespace mdlQ57_000 {

void InitFareDegits(Form1& form) {
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
        form.Degit(n).setDegitStyle(1);
        form.Degit(n).ResetDegit(false);
    }
}

void SetModelDefaults(Form1& form, DefaultsTarget& options) {
    form.setPicture(form.imgRes(0));
    form.imgRes(1) = form.imgRes(0);
    form.imgRes(2) = form.imgRes(0);
    options.SetProp();
}

void SeirikenNumSet(Form1& form, int style, int zeroPad) {
    try {
        const SeirikenLabels::Plan plan = SeirikenLabels::plan(style, zeroPad != 0);
        QLabel& first = form.lblSeiriNum(1);
        first.setFont(LabelLook::font(plan.firstPointSize));
        for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
            if (plan.captions[std::size_t(n)])
                form.lblSeiriNum(n).setText(*plan.captions[std::size_t(n)]);
        }
    } catch (const RuntimeError& error) {
        showMessageBox(&form, QMessageBox::Critical, QStringLiteral("エラー！"),
                       SeirikenLabels::errorText(error), QMessageBox::Ok);
    }
}

} // namespace mdlQ57_000
