#include "shell/window/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>

#include "config/NetworkMonitor.h"
#include "base/CodePage.h"
#include "platform/Connectivity.h"
#include "shell/controls/Dialogs.h"
#include "operator/CurrentOperator.h"
#include "settings/HotKeySpec.h"
#include "shell/window/ContactPopup.h"
#include "shell/window/MessageBanner.h"
#include "shell/window/PageArea.h"
#include "shell/window/RestoreIcon.h"
#include "shell/window/StatusBar.h"
#include "shell/window/TitleBar.h"
#include "shell/window/UiThreadGate.h"

namespace zelvo {

MainWindow::MainWindow(MainWindowSetup setup)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_placement(setup.placement),
      m_title(new TitleBar(setup.title, setup.version, setup.termCode, this)),
      m_status(new StatusBar(setup.status, this)),
      m_pageArea(new PageArea(*setup.db, *this, setup.welcome, setup.pages, this)),
      m_restoreIcon(std::make_unique<RestoreIcon>(setup.workArea)),
      m_gate(std::make_unique<UiThreadGate>()) {
    setWindowTitle(setup.title);
    setFixedSize(m_placement.width, m_placement.height);
    m_pageArea->Banner()->SetMerchant(setup.merCode, setup.merName);
    if (setup.pageKeys) m_pageArea->SetPageKeyHandler(std::move(setup.pageKeys));
    SetDefaultDialogOwner(this);

    auto dragAllowed = [this] { return !m_pageArea->PageBusy(); };
    m_title->SetDragAllowed(dragAllowed);
    m_status->SetDragAllowed(dragAllowed);
    connect(m_title, &DragBar::Dragged, this, &MainWindow::AfterDrag);
    connect(m_status, &DragBar::Dragged, this, &MainWindow::AfterDrag);
    connect(m_title, &TitleBar::CloseRequested, this, &QWidget::close);
    connect(m_title, &TitleBar::HideRequested, this, &MainWindow::Minimise);
    connect(m_status, &StatusBar::KeypadToggled, m_pageArea, &PageArea::ToggleKeypad);
    connect(m_status, &StatusBar::ContactToggled, this, &MainWindow::ToggleContactPopup);
    connect(m_pageArea, &PageArea::OperatorLoggedIn, this, [this] {
        m_title->SetOperatorId(
            QString::fromStdU16String(GbkToUtf16(GetCurrentOperator().operatorId)));
    });
    connect(m_restoreIcon.get(), &RestoreIcon::Clicked, this, &MainWindow::ToggleFromRestoreIcon);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &MainWindow::RepaintBars);

    if (setup.hotKeys) {
        m_hotKeys = std::move(setup.hotKeys);
        m_hotKeys->SetHandler([this](int id) { OnHotKey(id); });
        RegisterCashierHotKeys(*m_hotKeys, setup.db);
    }

    if (setup.connectivity) {
        m_monitor =
            std::make_unique<NetworkMonitor>(std::move(setup.connectivity), [this](bool connected) {
                m_gate->RunAndWait([this, connected] { SetNetworkState(connected); });
            });
        m_monitor->Start();
    }
}

MainWindow::~MainWindow() {
    if (m_hotKeys) UnregisterCashierHotKeys(*m_hotKeys);
    m_gate->Close();
    m_monitor.reset();
    delete m_contact.data();
}

void MainWindow::resizeEvent(QResizeEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    int titleHeight = scale.Y(30);
    int statusHeight = scale.Y(55);
    m_title->setGeometry(0, 0, width(), titleHeight);
    m_status->setGeometry(0, height() - statusHeight, width(), statusHeight);
    m_pageArea->setGeometry(0, titleHeight, width(), height() - titleHeight - statusHeight);
}

void MainWindow::PlaceAndShow() {
    move(m_placement.x, m_placement.y);
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    m_restoreIcon->show();
    Raise();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    m_restoreIcon->hide();
    if (m_contact) m_contact->close();
    event->accept();
    Q_EMIT Closed();
}

void MainWindow::RepaintBars() {
    m_title->update();
    m_status->update();
}

void MainWindow::AfterDrag() {
    RepaintBars();
    CloseKeypad();
}

void MainWindow::SetNetworkState(bool connected) {
    m_connected = connected;
    m_status->SetConnected(connected);
}

void MainWindow::DeliverExchangeDone(ExchangeResult result) {
    m_pageArea->DeliverExchangeDone(result);
}

ContactPopup* MainWindow::Contact() const {
    return m_contact.data();
}

void MainWindow::ToggleContactPopup() {
    if (m_contact) {
        delete m_contact.data();
        return;
    }
    m_contact = new ContactPopup();
    connect(m_contact.data(), &ContactPopup::Finished, m_contact.data(), &QObject::deleteLater);
    QPoint bottomRight = frameGeometry().bottomRight() + QPoint(1, 1);
    m_contact->move(bottomRight - QPoint(235, 135));
    m_contact->show();
}

bool MainWindow::CoveredByOwnWindow() const {
    if (m_coveredCheck) return m_coveredCheck();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == this || window == m_restoreIcon.get() || window == m_contact.data()) {
            continue;
        }
        if (window->isVisible() && window->frameGeometry().intersects(frameGeometry())) {
            return true;
        }
    }
    return false;
}

void MainWindow::ToggleFromRestoreIcon() {
    if (!m_visible) {
        if (m_beforeRaise) m_beforeRaise();
        Raise();
        return;
    }
    // A window partly hidden behind another is brought forward rather than sent away.
    if (CoveredByOwnWindow()) {
        Raise();
        return;
    }
    Minimise();
}

void MainWindow::ShowFromHotKey() {
    if (m_beforeRaise) m_beforeRaise();
    Raise();
}

void MainWindow::OnHotKey(int id) {
    if (id == HOTKEY_SHOW) ShowFromHotKey();
    if (id == HOTKEY_HIDE) Minimise();
}

void MainWindow::ShowMessage(MessageKind kind, const QString& text) {
    m_pageArea->Banner()->ShowMessage(kind, text);
}

bool MainWindow::KeypadOpen() const {
    return m_pageArea->KeypadOpen();
}

void MainWindow::CloseKeypad() {
    m_pageArea->CloseKeypad();
}

PageId MainWindow::CurrentPage() const {
    return m_pageArea->CurrentPage();
}

ShellPage* MainWindow::Page(PageId id) const {
    return m_pageArea->Page(id);
}

void MainWindow::PreviousPage() {
    m_pageArea->PreviousPage();
}

void MainWindow::NextPage() {
    m_pageArea->NextPage();
}

void MainWindow::Raise() {
    showNormal();
    raise();
    activateWindow();
    // The keyboard goes to the window, back into the box that had it (the code box after the
    // amount was read), rather than to the frame where typing and page keys would be lost.
    if (!focusWidget()) setFocus();
    m_visible = true;
}

void MainWindow::Minimise() {
    showMinimized();
    m_restoreIcon->show();
    m_visible = false;
}

void MainWindow::SetRestoreIconVisible(bool visible) {
    m_restoreIcon->setVisible(visible);
}

}  // namespace zelvo
