#pragma once

#include <map>

#include <QPointer>
#include <QWidget>

#include "shell/ShellPage.h"

namespace zelvo {

class CLocalDb;
class LoginPanel;
class MessageBanner;
class NavigationBar;
class NumericKeypad;

// Everything between the title and status bars: the message banner, the login panel until the
// first successful login, then the navigation bar and one page at a time, and the keypad over
// the bottom of the page.
class PageArea : public QWidget {
    Q_OBJECT
public:
    PageArea(CLocalDb& db, ShellHost& host, const QString& welcome, const PageFactory& pages,
             QWidget* parent = nullptr);
    ~PageArea() override;

    MessageBanner* Banner() const { return m_banner; }
    NavigationBar* Navigation() const { return m_navigation; }
    NumericKeypad* Keypad() const { return m_keypad; }
    // None once the operator is in.
    LoginPanel* Login() const;

    PageId CurrentPage() const { return m_current; }
    ShellPage* Page(PageId id) const;
    bool NavigationLocked() const { return m_locked; }
    // The query page's answer: one of its prompts is open.
    bool PageBusy() const;

    // A tab was pressed.
    void SelectPage(PageId id);
    void PreviousPage();
    void NextPage();

    bool KeypadOpen() const;
    void ToggleKeypad();
    void CloseKeypad();

    // The end of a gateway exchange, for the page that is current now.
    void DeliverExchangeDone(ExchangeResult result);
    void SetPageKeyHandler(PageKeyHandler handler) { m_pageKeys = std::move(handler); }

Q_SIGNALS:
    // An operator is in; the title bar shows the ID.
    void OperatorLoggedIn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnLoginSucceeded();
    void CloseLoginPanel();
    void ShowPage(PageId id);
    void Step(int direction);
    void RouteKeypadKey(int code);
    bool HandleKey(QKeyEvent& event);

    CLocalDb& m_db;
    ShellHost& m_host;
    MessageBanner* m_banner;
    QPointer<LoginPanel> m_login;
    NavigationBar* m_navigation;
    std::map<PageId, ShellPage*> m_pages;
    NumericKeypad* m_keypad;
    PageId m_current = PageId::None;
    bool m_locked = false;
    PageKeyHandler m_pageKeys;
};

// F1 and F2 step through the pages: the keys a terminal has before any are configured.
PageKeyHandler DefaultPageKeys();

}  // namespace zelvo
