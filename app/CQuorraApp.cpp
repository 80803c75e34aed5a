#include "app/CQuorraApp.h"

#include <cstdio>

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

#include "app/CaptureWiring.h"
#include "config/DisplayTexts.h"
#include "config/MisCilHolder.h"
#include "config/ProcessPaths.h"
#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "platform/Connectivity.h"
#include "platform/GlobalHotKeys.h"
#include "platform/InstanceLock.h"
#include "print/PrintFailure.h"
#include "shell/DefaultPages.h"
#include "shell/Layout.h"
#include "shell/Restart.h"
#include "shell/controls/Dialogs.h"
#include "shell/pages/OperationPages.h"
#include "shell/window/MainWindow.h"
#include "shell/window/TitleBar.h"
#include "shell/window/PlaceholderPage.h"
#include "store/LocalDb.h"
#include "store/RowCallbacks.h"
#include "update/UpdateService.h"

namespace zelvo {
namespace {

bool g_configLoadFailed = false;

QString ToQString(const std::u16string& text) { return QString::fromStdU16String(text); }

// Print jobs report from their worker thread; the dialog runs on the user-interface thread.
void ShowPrintFailure(const std::u16string& text) {
    AskConfirm(IconKind::Attention, ToQString(text), QStringLiteral("确  定"),
               QStringLiteral("关  闭"));
}

void ShowInformation(const std::u16string& text, const std::u16string& title) {
    QMessageBox::information(nullptr, ToQString(title), ToQString(text));
}

// The configuration could not be read: the operator is told, and the program ends.
void ReportConfigLoadFailure() {
    AskConfirm(IconKind::Attention, QStringLiteral("初始化数据失败！"), QStringLiteral("确  定"),
               QStringLiteral("关  闭"), nullptr);
    g_configLoadFailed = true;
    if (QWidget* active = QApplication::activeWindow()) active->close();
}

WorkArea DesktopWorkArea() {
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return {area.left(), area.top(), area.width(), area.height()};
}

}  // namespace

CQuorraApp::CQuorraApp() : m_informationBox(ShowInformation) {}

CQuorraApp::~CQuorraApp() { ExitInstance(); }

void CQuorraApp::ExitInstance() {
    m_update.reset();
    SetPrintFailureSink(nullptr);
    m_capture.reset();
    m_mainWindow.reset();
    m_operations.reset();
    m_gateway.reset();
    CloseLocalDb();
}

bool CQuorraApp::ClaimSingleInstance() {
    InstanceLockOutcome outcome = InstanceLockOutcome::Failed;
    m_instanceLock = AcquireInstanceLock(SessionLockName("CQuorraApp"), &outcome);
    SetRestartInstanceLock(m_instanceLock.get());
    m_instanceLockFailed = outcome == InstanceLockOutcome::Failed;
    return outcome != InstanceLockOutcome::HeldElsewhere;
}

void CQuorraApp::StartReconciliation() {
    // Orders a previous run left open are finished once the network is up; the operator learns
    // of each one found paid in the banner.
    std::shared_ptr<ConnectivityCheck> connectivity = CreateSystemConnectivityCheck();
    QPointer<MainWindow> window = m_mainWindow.get();
    m_operations->StartReconciliation(
        [window](const QString& text) {
            if (window) window->ShowMessage(MessageKind::Success, text);
        },
        [connectivity] { return connectivity->IsOnline(); });
}

bool CQuorraApp::InitInstance(const std::string& executablePath) {
    if (m_instanceLockFailed) {
        // Without the lock a second cashier cannot be told apart; this one still runs, and
        // says so once.
        const std::u16string text = u"无法确认收银程序是否已在运行，请勿同时打开两个收银程序！";
        std::fprintf(stderr, "%s\n", Utf16ToUtf8(text).c_str());
        m_informationBox(text, u"提示框");
    }
    g_configLoadFailed = false;
    SetLocalDbMessageSink(m_informationBox);
    CLocalDb* db = GetLocalDb();
    if (!db) return false;

    if (!db->ExecuteWithCallback("select Value from SysConfig where Name = 'UpdateServer'",
                                 FirstColumnToText, &m_updateServer)) {
        return false;
    }
    m_update = std::make_unique<UpdateService>();
    m_update->Start(m_updateServer, executablePath);

    WorkArea area = DesktopWorkArea();
    WindowPlacement placement = PlaceMainWindow(area);
    SetWindowLayout(placement.scale, placement.smallScreen);

    GetDisplayTexts() = LoadDisplayTexts(*db);
    SetConfigLoadFailureHandler(ReportConfigLoadFailure);
    m_gateway = std::make_unique<MisCilHolder>();
    if (g_configLoadFailed) return false;

    const DisplayTexts& texts = GetDisplayTexts();
    const TerminalConfig& config = GetTerminalConfig();
    MainWindowSetup setup;
    setup.db = db;
    setup.placement = placement;
    setup.workArea = QRect(area.left, area.top, area.width, area.height);
    setup.title = ToQString(texts.TitleName);
    setup.status = ToQString(texts.StatusName);
    setup.welcome = ToQString(texts.WelComeName);
    setup.version = ReadVersionText();
    setup.termCode = QString::fromStdU16String(GbkToUtf16(config.TermCode));
    setup.merCode = QString::fromStdU16String(GbkToUtf16(config.MerCode));
    setup.merName = ToQString(config.MerName);
    m_operations = std::make_unique<OperationServices>();
    OperationPagesSetup pages = DefaultOperationPagesSetup(*m_operations);
    pages.selectCaptureRegion = [this] {
        if (m_capture) m_capture->SelectRegion();
    };
    setup.pages = MakeShellPageFactory(
        *db, MakeOperationPageFactory(std::move(pages), MakePlaceholderPageFactory()));
    setup.pageKeys = MakePageKeyHandler([] { return GetLocalDb(); });
    setup.connectivity = CreateSystemConnectivityCheck();
    // A run without a desktop (the offscreen platform) must not take keys from the real one.
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) {
        setup.hotKeys = CreateSystemHotKeys();
    }
    m_mainWindow = std::make_unique<MainWindow>(std::move(setup));
    m_capture = std::make_unique<CaptureWiring>(
        *db, *m_mainWindow, Utf8ToUtf16(FolderWithSeparator(executablePath)));
    QObject::connect(m_mainWindow.get(), &MainWindow::Closed, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    m_mainWindow->PlaceAndShow();
    SetPrintFailureSink(ShowPrintFailure);
    StartReconciliation();

    SetTessdataPrefix(executablePath);
    return true;
}

}  // namespace zelvo
