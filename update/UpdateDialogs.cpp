#include "update/UpdateDialogs.h"

#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinDialog.h"

namespace zelvo {

bool UpdateDialogs::ConfirmInstall() {
    DialogResult answer = DialogResult::Cancel;
    m_gate.RunAndWait([&answer] {
        answer = AskConfirm(IconKind::Attention, QStringLiteral("有更新的应用程序版本是否需要更新！"),
                            QStringLiteral("更  新"), QStringLiteral("不更新"));
    });
    return answer == DialogResult::Confirm;
}

void UpdateDialogs::ReportInstalled() {
    m_gate.RunAndWait([] {
        AskConfirm(IconKind::Success, QStringLiteral("恭喜你，应用程序更新成功！"), QStringLiteral("确  定"),
                   QStringLiteral("关  闭"));
    });
}

}  // namespace zelvo
