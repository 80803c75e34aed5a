#pragma once

#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

#include "shell/ShellHost.h"
#include "shell/ShellPage.h"

namespace zelvo::test {

// A main window that records what the pages ask of it.
class FakeShellHost : public ShellHost {
public:
    struct Message {
        MessageKind kind;
        QString text;
    };

    void ShowMessage(MessageKind kind, const QString& text) override {
        messages.push_back({kind, text});
    }
    bool NetworkConnected() const override { return network; }
    bool KeypadOpen() const override { return keypadOpen; }
    void CloseKeypad() override { keypadOpen = false; }
    PageId CurrentPage() const override { return current; }
    ShellPage* Page(PageId id) const override {
        for (ShellPage* page : pages) {
            if (page->Id() == id) return page;
        }
        return nullptr;
    }
    void PreviousPage() override { ++previousCount; }
    void NextPage() override { ++nextCount; }
    void Raise() override {}
    void Minimise() override {}
    void SetRestoreIconVisible(bool) override {}
    QWidget* MainWindowWidget() override { return owner; }

    QString LastText() const { return messages.empty() ? QString() : messages.back().text; }

    std::vector<Message> messages;
    std::vector<ShellPage*> pages;
    bool network = true;
    bool keypadOpen = false;
    PageId current = PageId::None;
    int previousCount = 0;
    int nextCount = 0;
    QWidget* owner = nullptr;
};

// A key press and release delivered to whatever has the keyboard focus (or `target`).
inline void PressKey(int key, QWidget* target = nullptr, const QString& text = QString()) {
    QWidget* to = target ? target : QApplication::focusWidget();
    if (!to) return;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &release);
}

// A key as the page area delivers it: a key for a control of the page goes to the page's own
// keys first; the prompts, windows of their own, take theirs directly.
inline void PressOnPage(ShellPage& page, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QWidget* focused = QApplication::focusWidget();
    if (focused && page.isAncestorOf(focused) && page.HandlePageKey(press)) return;
    PressKey(key);
}

// Shows a page as the active window so that focus moves as it would on screen.
inline void ShowActive(QWidget& widget) {
    widget.resize(960, 477);
    widget.show();
    QApplication::setActiveWindow(&widget);
    widget.activateWindow();
    QCoreApplication::processEvents();
}

}  // namespace zelvo::test
