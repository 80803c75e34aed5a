#pragma once

#include "shell/window/UiThreadGate.h"
#include "update/UpdatePrompts.h"

namespace zelvo {

// The update's question and success message as ConfirmDialogs owned by the main window, shown
// on the user-interface thread while the update thread waits.
class UpdateDialogs final : public UpdatePrompts {
public:
    bool ConfirmInstall() override;
    void ReportInstalled() override;

    // User-interface thread: a waiting update thread goes on as if the question was declined.
    void Close() { m_gate.Close(); }

private:
    UiThreadGate m_gate;
};

}  // namespace zelvo
