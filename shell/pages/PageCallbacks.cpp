#include "shell/pages/PageCallbacks.h"

#include "shell/ShellHost.h"

namespace zelvo {

PageCallbacks MakePageCallbacks(ShellHost& host) {
    PageCallbacks callbacks;
    callbacks.showMessage = [&host](MessageKind kind, const QString& text) {
        host.ShowMessage(kind, text);
    };
    callbacks.networkUp = [&host] { return host.NetworkConnected(); };
    callbacks.closeKeypad = [&host] { host.CloseKeypad(); };
    callbacks.dialogOwner = [&host] { return host.MainWindowWidget(); };
    return callbacks;
}

}  // namespace zelvo
