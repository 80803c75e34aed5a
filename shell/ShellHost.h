#pragma once

#include <QString>

#include "shell/ShellTypes.h"

class QWidget;

namespace zelvo {

class ShellPage;

// What a page may ask of the main window.
class ShellHost {
public:
    virtual ~ShellHost() = default;

    // The message banner: shown at once, gone 5 seconds after its last repaint.
    virtual void ShowMessage(MessageKind kind, const QString& text) = 0;
    // The last answer of the network monitor (false until the first one).
    virtual bool NetworkConnected() const = 0;
    virtual bool KeypadOpen() const = 0;
    virtual void CloseKeypad() = 0;
    virtual PageId CurrentPage() const = 0;
    // The page behind a tab (none before the pages are made).
    virtual ShellPage* Page(PageId id) const = 0;
    virtual void PreviousPage() = 0;
    virtual void NextPage() = 0;
    virtual void Raise() = 0;
    virtual void Minimise() = 0;
    virtual void SetRestoreIconVisible(bool visible) = 0;
    // The owner of the pages' dialogs.
    virtual QWidget* MainWindowWidget() = 0;
};

}  // namespace zelvo
