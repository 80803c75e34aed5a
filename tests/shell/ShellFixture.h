#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QPoint>

#include "shell/Layout.h"
#include "shell/ShellPage.h"
#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

class QWidget;

namespace zelvo {

class MainWindow;

namespace test {

// A page that records what the page area hands it and can claim to be busy.
class RecordingPage : public ShellPage {
public:
    RecordingPage(PageId id, ShellHost& host, QWidget* parent) : ShellPage(id, host, parent) {
        setFocusPolicy(Qt::StrongFocus);
    }
    void PreparePage() override { ++prepared; }
    void HandleKeypadKey(int code) override { keypadKeys.push_back(code); }
    void HandleExchangeDone(ExchangeResult result) override { exchangeResults.push_back(result); }
    bool PageBusy() const override { return busy; }

    int prepared = 0;
    std::vector<int> keypadKeys;
    std::vector<ExchangeResult> exchangeResults;
    bool busy = false;
};

// A delivered database, the pictures and a main window on a work area of the given size, in a
// fresh working directory; restarts are counted, not done.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void MakeWindow(int workWidth = 1920, int workHeight = 1040, bool recordingPages = false);
    void LogIn(const QString& id, const QString& password);
    RecordingPage* Recording(PageId id) const;
    static void Click(QWidget* widget, QPoint at = QPoint(-1, -1));

    std::unique_ptr<ScopedWorkDir> m_dir;
    CLocalDb m_db;
    std::unique_ptr<MainWindow> m_window;
    int m_restarts = 0;
};

}  // namespace test
}  // namespace zelvo
