#include "tests/shell/ShellFixture.h"

#include <filesystem>

#include <QTest>

#include "shell/DefaultPages.h"
#include "shell/Restart.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/SkinEdit.h"
#include "operator/CurrentOperator.h"
#include "shell/login/LoginPanel.h"
#include "shell/window/MainWindow.h"
#include "shell/window/PageArea.h"
#include "shell/window/PlaceholderPage.h"

namespace zelvo::test {

void ShellTest::SetUp() {
    m_dir = std::make_unique<ScopedWorkDir>();
    MakeDeliveredDatabase(m_dir->Path() / "MISData.db");
    std::filesystem::copy(std::filesystem::path(ZELVO_SOURCE_DIR) / "data" / "pic",
                          m_dir->Path() / "pic");
    ASSERT_TRUE(m_db.Open((m_dir->Path() / "MISData.db").u16string()));
    GetCurrentOperator().Clear();
    SetEndOfShiftFlag(false);
    SetRestartHandler([this] { ++m_restarts; });
}

void ShellTest::TearDown() {
    m_window.reset();
    SetRestartHandler(nullptr);
    GetCurrentOperator().Clear();
    SetWindowLayout(LayoutScale(), false);
    m_db.Close();
    m_dir.reset();
}

void ShellTest::MakeWindow(int workWidth, int workHeight, bool recordingPages) {
    WindowPlacement placement = PlaceMainWindow({0, 0, workWidth, workHeight});
    SetWindowLayout(placement.scale, placement.smallScreen);
    MainWindowSetup setup;
    setup.db = &m_db;
    setup.placement = placement;
    setup.workArea = QRect(0, 0, workWidth, workHeight);
    setup.title = QStringLiteral("Zelvo");
    setup.status = QStringLiteral("Zelvo 扫码收款");
    setup.welcome = QStringLiteral("欢迎进入Zelvo");
    setup.version = QStringLiteral("1.0");
    setup.termCode = QStringLiteral("10000001");
    setup.merCode = QStringLiteral("898310060110001");
    setup.merName = QStringLiteral("Zelvo演示商户");
    PageFactory others = MakePlaceholderPageFactory();
    if (recordingPages) {
        others = [](PageId id, ShellHost& host, QWidget* parent) -> ShellPage* {
            return new RecordingPage(id, host, parent);
        };
    }
    setup.pages = MakeShellPageFactory(m_db, others);
    m_window = std::make_unique<MainWindow>(std::move(setup));
    m_window->PlaceAndShow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
}

void ShellTest::LogIn(const QString& id, const QString& password) {
    LoginPanel* login = m_window->Pages()->Login();
    ASSERT_NE(login, nullptr);
    login->OperatorIdBox()->setText(id);
    login->PasswordBox()->setText(password);
    Click(login->LoginButton());
}

RecordingPage* ShellTest::Recording(PageId id) const {
    return dynamic_cast<RecordingPage*>(m_window->Page(id));
}

void ShellTest::Click(QWidget* widget, QPoint at) {
    if (at == QPoint(-1, -1)) at = widget->rect().center();
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace zelvo::test
