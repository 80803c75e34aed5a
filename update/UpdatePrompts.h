#pragma once

namespace zelvo {

// What the update check asks of the operator; the dialogs implement it, tests script it.
class UpdatePrompts {
public:
    virtual ~UpdatePrompts() = default;
    // "有更新的应用程序版本是否需要更新！": true to install.
    virtual bool ConfirmInstall() = 0;
    // "恭喜你，应用程序更新成功！", answered either way.
    virtual void ReportInstalled() = 0;
};

}  // namespace zelvo
