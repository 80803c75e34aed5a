#include "shell/login/ReloginPrompt.h"

#include <QString>

#include "shell/Restart.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinDialog.h"
#include "operator/CurrentOperator.h"

namespace zelvo {

void ReloginPrompt() {
    DialogResult answer = AskConfirm(IconKind::Warning, QStringLiteral("确定要重新登陆吗？"),
                                     QStringLiteral("确  定"), QStringLiteral("取  消"));
    if (answer == DialogResult::Confirm) {
        RestartApplication();
        return;
    }
    SetEndOfShiftFlag(false);
}

}  // namespace zelvo
