#include "shell/DefaultPages.h"

#include "shell/login/ChangePasswordPage.h"

namespace zelvo {

PageFactory MakeShellPageFactory(CLocalDb& db, PageFactory others) {
    return [&db, others = std::move(others)](PageId id, ShellHost& host,
                                             QWidget* parent) -> ShellPage* {
        if (id == PageId::ChangePassword) return new ChangePasswordPage(db, host, parent);
        return others(id, host, parent);
    };
}

}  // namespace zelvo
