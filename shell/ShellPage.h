#pragma once

#include <functional>

#include <QWidget>

#include "payment/ExchangeResult.h"
#include "shell/ShellTypes.h"

class QKeyEvent;

namespace zelvo {

class ShellHost;

// One of the four pages behind the tabs. The page area shows and hides it and hands it what
// arrives for the current page; a page overrides what it cares about.
class ShellPage : public QWidget {
    Q_OBJECT
public:
    ShellPage(PageId id, ShellHost& host, QWidget* parent)
        : QWidget(parent), m_id(id), m_host(host) {}

    PageId Id() const { return m_id; }
    ShellHost& Host() const { return m_host; }

    // The page has just become current and visible: set its focus, refresh what it shows.
    virtual void PreparePage() {}
    // A key of the numeric keypad (0-9 digits, then KeypadKey) while this page is current.
    virtual void HandleKeypadKey(int /*code*/) {}
    virtual void KeypadOpened() {}
    // The gateway exchange this page started has ended.
    virtual void HandleExchangeDone(ExchangeResult /*result*/) {}
    // True while a prompt of the page is open: no page switch, no window drag, no keypad.
    virtual bool PageBusy() const { return false; }
    // The page's own keys, seen before the common page keys; true consumes the key.
    virtual bool HandlePageKey(QKeyEvent& /*event*/) { return false; }

private:
    PageId m_id;
    ShellHost& m_host;
};

// Makes the page behind a tab as a child of `parent`.
using PageFactory = std::function<ShellPage*(PageId id, ShellHost& host, QWidget* parent)>;

// Keys common to every page (previous/next page, Escape), after the page's own; true consumes.
using PageKeyHandler = std::function<bool(QKeyEvent& event, ShellHost& host)>;

}  // namespace zelvo
