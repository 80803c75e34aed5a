#pragma once

#include <functional>
#include <memory>

#include <QPointer>
#include <QWidget>

#include "platform/Connectivity.h"
#include "platform/GlobalHotKeys.h"
#include "shell/Layout.h"
#include "shell/ShellHost.h"
#include "shell/ShellPage.h"

namespace zelvo {

class CLocalDb;
class ContactPopup;
class NetworkMonitor;
class PageArea;
class RestoreIcon;
class StatusBar;
class TitleBar;
class UiThreadGate;

// What the main window is made from.
struct MainWindowSetup {
    CLocalDb* db = nullptr;
    WindowPlacement placement;
    QRect workArea;
    QString title;
    QString status;
    QString welcome;
    QString version;
    QString termCode;
    QString merCode;
    QString merName;
    PageFactory pages;
    PageKeyHandler pageKeys;
    // Asked every 10 seconds from a thread of its own; none starts no monitor.
    std::unique_ptr<ConnectivityCheck> connectivity;
    // The show and hide keys are registered with these for the life of the window; none
    // registers no keys.
    std::unique_ptr<GlobalHotKeys> hotKeys;
};

// The cashier's one top-level window: frameless, always on top, docked bottom-left.
class MainWindow : public QWidget, public ShellHost {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowSetup setup);
    ~MainWindow() override;

    // Placed, shown without taking the focus from the till program, then raised.
    void PlaceAndShow();
    // Runs before the window is raised by the restore icon or the show key (the amount capture).
    void SetBeforeRaise(std::function<void()> hook) { m_beforeRaise = std::move(hook); }
    // Whether another window of ours covers part of the main window (restore-icon rule).
    void SetCoveredCheck(std::function<bool()> check) { m_coveredCheck = std::move(check); }

    void SetNetworkState(bool connected);
    void DeliverExchangeDone(ExchangeResult result);
    bool VisibleFlag() const { return m_visible; }
    void ToggleContactPopup();
    void ToggleFromRestoreIcon();
    void ShowFromHotKey();

    TitleBar* Title() const { return m_title; }
    StatusBar* Status() const { return m_status; }
    PageArea* Pages() const { return m_pageArea; }
    RestoreIcon* Restore() const { return m_restoreIcon.get(); }
    ContactPopup* Contact() const;

    // ShellHost
    void ShowMessage(MessageKind kind, const QString& text) override;
    bool NetworkConnected() const override { return m_connected; }
    bool KeypadOpen() const override;
    void CloseKeypad() override;
    PageId CurrentPage() const override;
    ShellPage* Page(PageId id) const override;
    void PreviousPage() override;
    void NextPage() override;
    void Raise() override;
    void Minimise() override;
    void SetRestoreIconVisible(bool visible) override;
    QWidget* MainWindowWidget() override { return this; }

Q_SIGNALS:
    void Closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void AfterDrag();
    void RepaintBars();
    bool CoveredByOwnWindow() const;
    void OnHotKey(int id);

    WindowPlacement m_placement;
    TitleBar* m_title;
    StatusBar* m_status;
    PageArea* m_pageArea;
    std::unique_ptr<RestoreIcon> m_restoreIcon;
    QPointer<ContactPopup> m_contact;
    std::unique_ptr<UiThreadGate> m_gate;
    std::unique_ptr<NetworkMonitor> m_monitor;
    std::unique_ptr<GlobalHotKeys> m_hotKeys;
    std::function<void()> m_beforeRaise;
    std::function<bool()> m_coveredCheck;
    bool m_connected = false;
    bool m_visible = false;
};

}  // namespace zelvo
