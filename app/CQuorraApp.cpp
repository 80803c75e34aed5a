#include "app/CQuorraApp.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWidget>

#include "app/config/DisplayTexts.h"
#include "app/config/ProcessPaths.h"
#include "app/config/TerminalConfig.h"
#include "platform/InstanceLock.h"
#include "store/LocalDb.h"
#include "store/RowCallbacks.h"

namespace zelvo {
namespace {

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void ShowInformation(const std::u16string& text, const std::u16string& title) {
    QMessageBox::information(nullptr, ToQString(title), ToQString(text));
}

void ReportConfigLoadFailure() {
    QMessageBox::warning(nullptr, QString(), QStringLiteral("初始化数据失败！"));
    if (QWidget* active = QApplication::activeWindow()) active->close();
}

std::unique_ptr<QWidget> CreatePlaceholderWindow(const DisplayTexts& texts) {
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(ToQString(texts.TitleName));
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(new QLabel(ToQString(texts.WelComeName)));
    layout->addWidget(new QLabel(ToQString(texts.StatusName)));
    window->resize(420, 240);
    return window;
}

}  // namespace

CQuorraApp::CQuorraApp() = default;

CQuorraApp::~CQuorraApp() {
    m_mainWindow.reset();
    CloseLocalDb();
}

bool CQuorraApp::ClaimSingleInstance() {
    m_instanceLock = AcquireInstanceLock("CQuorraApp");
    return m_instanceLock != nullptr;
}

bool CQuorraApp::InitInstance(const std::string& executablePath) {
    SetLocalDbMessageSink(ShowInformation);
    CLocalDb* db = GetLocalDb();
    if (!db) return false;

    if (!db->ExecuteWithCallback("select Value from SysConfig where Name = 'UpdateServer'",
                                 FirstColumnToText, &m_updateServer)) {
        return false;
    }

    GetDisplayTexts() = LoadDisplayTexts(*db);
    SetConfigLoadFailureHandler(ReportConfigLoadFailure);
    LoadTerminalConfig(*db, GetTerminalConfig());

    m_mainWindow = CreatePlaceholderWindow(GetDisplayTexts());
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();

    SetTessdataPrefix(executablePath);
    return true;
}

}  // namespace zelvo
