#include "shell/window/PageArea.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/NumericKeypad.h"
#include "shell/controls/Skin.h"
#include "operator/CurrentOperator.h"
#include "operator/LoginLogic.h"
#include "shell/login/LoginPanel.h"
#include "shell/window/MessageBanner.h"
#include "shell/window/NavigationBar.h"
#include "shell/ShellHost.h"

namespace zelvo {
namespace {

constexpr int kInset = 2;
const QColor kEdgeLine{0xC8, 0xC8, 0xC8};

}  // namespace

PageKeyHandler DefaultPageKeys() {
    return [](QKeyEvent& event, ShellHost& host) {
        if (event.key() == Qt::Key_F1) {
            host.PreviousPage();
            return true;
        }
        if (event.key() == Qt::Key_F2) {
            host.NextPage();
            return true;
        }
        return false;
    };
}

PageArea::PageArea(CLocalDb& db, ShellHost& host, const QString& welcome, const PageFactory& pages,
                   QWidget* parent)
    : QWidget(parent),
      m_db(db),
      m_host(host),
      m_banner(new MessageBanner(this)),
      m_login(new LoginPanel(db, host, welcome, this)),
      m_navigation(new NavigationBar(this)),
      m_keypad(new NumericKeypad(this)),
      m_pageKeys(DefaultPageKeys()) {
    for (PageId id : NavigationBar::kOrder) {
        ShellPage* page = pages(id, host, this);
        page->hide();
        m_pages[id] = page;
    }
    m_navigation->hide();
    m_keypad->hide();
    m_keypad->raise();
    connect(m_navigation, &NavigationBar::TabPressed, this, &PageArea::SelectPage);
    connect(m_keypad, &NumericKeypad::KeyPressed, this, &PageArea::RouteKeypadKey);
    connect(m_login, &LoginPanel::LoginSucceededSignal, this, &PageArea::OnLoginSucceeded);
    // What is typed right after start goes into the operator ID box.
    m_login->ClearLogin();
    qApp->installEventFilter(this);
}

PageArea::~PageArea() {
    qApp->removeEventFilter(this);
}

LoginPanel* PageArea::Login() const {
    return m_login.data();
}

ShellPage* PageArea::Page(PageId id) const {
    auto found = m_pages.find(id);
    return found == m_pages.end() ? nullptr : found->second;
}

bool PageArea::PageBusy() const {
    ShellPage* query = Page(PageId::QueryRefund);
    return query && query->PageBusy();
}

void PageArea::resizeEvent(QResizeEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    int innerWidth = width() - 2 * kInset;
    int bannerHeight = scale.Y(64);
    m_banner->setGeometry(kInset, 0, innerWidth, bannerHeight);
    if (m_login) m_login->setGeometry(kInset, bannerHeight, innerWidth, height() - bannerHeight);
    m_navigation->setGeometry(kInset, bannerHeight, innerWidth, scale.Y(80));
    int pagesTop = scale.Y(144);
    for (auto& [id, page] : m_pages) {
        page->setGeometry(kInset, pagesTop, innerWidth, height() - kInset - pagesTop);
    }
    m_keypad->setGeometry(kInset, height() - kInset - scale.Y(144), innerWidth, scale.Y(144));
}

void PageArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::Page);
    painter.fillRect(0, 0, kInset, height(), kEdgeLine);
    painter.fillRect(width() - kInset, 0, kInset, height(), kEdgeLine);
    painter.fillRect(0, height() - kInset, width(), kInset, kEdgeLine);
}

void PageArea::OnLoginSucceeded() {
    CurrentOperator& current = GetCurrentOperator();
    switch (DecideAfterLogin(m_db, current)) {
        case AfterLogin::Payment:
            CloseLoginPanel();
            Q_EMIT OperatorLoggedIn();
            m_navigation->show();
            ShowPage(PageId::Payment);
            break;
        case AfterLogin::NeedAdministrator:
            m_host.ShowMessage(MessageKind::Notice,
                               QStringLiteral("请使用管理员账号登录,进行参数配置！"));
            m_login->ClearLogin();
            break;
        case AfterLogin::LockedSettings:
            CloseLoginPanel();
            Q_EMIT OperatorLoggedIn();
            m_locked = true;
            m_navigation->show();
            ShowPage(PageId::Settings);
            break;
    }
}

void PageArea::CloseLoginPanel() {
    m_login->hide();
    m_login->deleteLater();
    m_login = nullptr;
}

void PageArea::ShowPage(PageId id) {
    ShellPage* next = Page(id);
    if (!next) return;
    m_navigation->Select(id);
    if (ShellPage* current = Page(m_current)) current->hide();
    m_current = id;
    next->show();
    m_keypad->raise();
    next->PreparePage();
    CloseKeypad();
}

void PageArea::SelectPage(PageId id) {
    if (PageBusy() || m_locked || m_current == PageId::None) {
        // Keep the selection where it was: the press already changed the tab's look.
        m_navigation->Select(m_current);
        return;
    }
    ShowPage(id);
}

void PageArea::Step(int direction) {
    if (PageBusy() || m_locked || m_current == PageId::None) return;
    const auto& order = NavigationBar::kOrder;
    auto at = std::find(order.begin(), order.end(), m_current);
    if (at == order.end()) return;
    auto index = (at - order.begin()) + direction;
    if (index < 0 || index >= static_cast<long>(order.size())) return;
    ShowPage(order[static_cast<size_t>(index)]);
}

void PageArea::PreviousPage() {
    Step(-1);
}

void PageArea::NextPage() {
    Step(+1);
}

bool PageArea::KeypadOpen() const {
    return m_keypad->isVisible();
}

void PageArea::ToggleKeypad() {
    if (KeypadOpen()) {
        CloseKeypad();
        return;
    }
    m_keypad->show();
    m_keypad->raise();
    if (ShellPage* page = Page(m_current); page && m_current == PageId::QueryRefund) {
        page->KeypadOpened();
    }
}

void PageArea::CloseKeypad() {
    m_keypad->hide();
}

void PageArea::RouteKeypadKey(int code) {
    if (m_login) {
        m_login->HandleKeypadKey(code);
    } else if (ShellPage* page = Page(m_current)) {
        page->HandleKeypadKey(code);
    }
}

void PageArea::DeliverExchangeDone(ExchangeResult result) {
    if (ShellPage* page = Page(m_current)) {
        page->HandleExchangeDone(result);
        return;
    }
    ShowNotice(IconKind::Warning, QStringLiteral("请与客户经理联系，确认交易状态"));
}

bool PageArea::HandleKey(QKeyEvent& event) {
    if (event.key() == Qt::Key_Escape) SetEndOfShiftFlag(true);
    ShellPage* page = m_login ? nullptr : Page(m_current);
    if (page && page->HandlePageKey(event)) return true;
    return m_pageKeys && m_pageKeys(event, m_host);
}

bool PageArea::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Once per key: where it is first delivered, to the focused widget inside the page area.
    if (!widget || widget != QApplication::focusWidget()) return false;
    if (widget != this && !isAncestorOf(widget)) return false;
    return HandleKey(*static_cast<QKeyEvent*>(event));
}

}  // namespace zelvo
