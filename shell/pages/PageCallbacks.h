#pragma once

#include <functional>

#include <QString>

#include "payment/MessageKind.h"

class QWidget;

namespace zelvo {

class ShellHost;

// What a page's flow adapters ask of the main window.
struct PageCallbacks {
    std::function<void(MessageKind kind, const QString& text)> showMessage;
    std::function<bool()> networkUp;
    std::function<void()> closeKeypad;
    // The owner of the page's dialogs.
    std::function<QWidget*()> dialogOwner;
};

// The callbacks answered by the main window behind `host`.
PageCallbacks MakePageCallbacks(ShellHost& host);

}  // namespace zelvo
