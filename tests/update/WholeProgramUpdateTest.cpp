// The real program in an installation folder updates itself from a served newer version, under
// an X server, with its dialogs answered by mouse clicks.
#include <csignal>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "platform/InstanceLock.h"
#include "tests/support/TestSupport.h"
#include "tests/update/TestHttpServer.h"
#include "tests/update/UpdateTestSupport.h"
#include "update/UpdateCheck.h"

namespace zelvo::test {
namespace {
namespace fs = std::filesystem;

constexpr int kDialogWidth = 368;
constexpr int kDialogHeight = 242;
// The middle of the confirm button, from the dialog's top left.
constexpr int kConfirmX = 46 + 115 / 2;
constexpr int kConfirmY = kDialogHeight - 68 + 38 / 2;

QString Xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The visible dialog-sized windows of process `pid`.
QStringList DialogWindows(qint64 pid) {
    QStringList found;
    QString ids = Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--pid"), QString::number(pid), QStringLiteral("")});
    for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString shape =
            Xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
        if (shape.contains(QStringLiteral("WIDTH=%1\n").arg(kDialogWidth)) &&
            shape.contains(QStringLiteral("HEIGHT=%1\n").arg(kDialogHeight))) {
            found << id;
        }
    }
    return found;
}

void ClickConfirm(const QString& window) {
    Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
             QString::number(kConfirmX), QString::number(kConfirmY), QStringLiteral("click"),
             QStringLiteral("1")});
}

// Another process than `other` running the program file at `executable`.
pid_t RunningCopyOf(const fs::path& executable, qint64 other) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        pid_t pid = static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
        if (pid <= 0 || pid == other) continue;
        fs::path exe = fs::read_symlink(entry.path() / "exe", error);
        if (!error && exe == executable) return pid;
    }
    return 0;
}

class WholeProgramUpdateTest : public testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X server";
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
            GTEST_SKIP() << "xdotool not installed";
        }
        if (!AcquireInstanceLock("CQuorraApp")) {
            GTEST_SKIP() << "another cashier runs on this machine";
        }
        ASSERT_TRUE(m_server.Start());
        fs::create_directories(m_install);
        fs::copy_file(ZELVO_EXECUTABLE, m_executable);
        MakeDeliveredDatabase(m_install / "MISData.db");
        RunSql(m_install / "MISData.db", "update SysConfig set Value = '" +
                                             m_server.BaseUrl().toStdString() +
                                             "' where Name = 'UpdateServer';");
        fs::copy(fs::path(ZELVO_SOURCE_DIR) / "data" / "pic", m_install / "pic",
                 fs::copy_options::recursive);
        WriteFile(m_install / "version.xml", "1.0\n");
        m_oldProgram = ReadFile(m_executable);
        m_newProgram = m_oldProgram + "\nnew version\n";
        m_server.Serve("/version.xml", "1.1\n");
        m_server.Serve("/Moxel.exe", QByteArray::fromStdString(m_newProgram));
    }
    void TearDown() override {
        if (m_restarted > 0) kill(m_restarted, SIGKILL);
        if (m_first.state() != QProcess::NotRunning) {
            m_first.kill();
            m_first.waitForFinished();
        }
    }

    void StartFirst() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("ZELVO_NETWORK"), QStringLiteral("online"));
        for (const char* proxy : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY"}) {
            environment.remove(QString::fromLatin1(proxy));
        }
        m_first.setProcessEnvironment(environment);
        m_first.setProcessChannelMode(QProcess::ForwardedChannels);
        m_first.setWorkingDirectory(QString::fromStdString(m_install.string()));
        m_first.setProgram(QString::fromStdString(m_executable.string()));
        m_first.start();
        ASSERT_TRUE(m_first.waitForStarted());
    }

    // A dialog of the first process not among `seen` (which it joins); empty when none came or
    // the process ended.
    QString NextDialog(QStringList& seen) {
        QString window;
        PumpUntil([&] {
            if (m_first.state() == QProcess::NotRunning) return true;
            for (const QString& id : DialogWindows(m_first.processId())) {
                if (!seen.contains(id)) window = id;
            }
            return !window.isEmpty();
        });
        seen << window;
        return window;
    }

    ScopedWorkDir m_dir;
    TestHttpServer m_server;
    fs::path m_install = m_dir.Path() / "install";
    fs::path m_executable = m_install / "zelvo";
    std::string m_oldProgram;
    std::string m_newProgram;
    QProcess m_first;
    pid_t m_restarted = 0;
};

TEST_F(WholeProgramUpdateTest, AnsweredQuestionInstallsRestartsAndTheNextStartDropsTheBackup) {
    StartFirst();
    QStringList seen;
    QString question = NextDialog(seen);
    ASSERT_FALSE(question.isEmpty())
        << "no question came on display " << qgetenv("DISPLAY").data()
        << (m_first.state() == QProcess::NotRunning ? "; the program ended" : "");
    ClickConfirm(question);  // "更  新"

    // The success message is up: the new program is in place and the old one kept.
    QString success = NextDialog(seen);
    ASSERT_FALSE(success.isEmpty()) << "no success message";
    fs::path backup = m_install / BackupFileName();
    EXPECT_EQ(ReadFile(m_executable), m_newProgram);
    EXPECT_TRUE(IsRunnable(m_executable));
    EXPECT_EQ(ReadFile(backup), m_oldProgram);
    EXPECT_TRUE(IsRunnable(backup));
    EXPECT_EQ(ReadFile(m_install / "version.xml"), "1.1\n");
    ClickConfirm(success);

    ASSERT_TRUE(m_first.waitForFinished(30000));
    EXPECT_EQ(m_first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_first.exitCode(), 0);
    qint64 first = m_first.processId();
    ASSERT_TRUE(PumpUntil([&] { return (m_restarted = RunningCopyOf(m_executable, first)) > 0; }))
        << "the new program did not start";
    // Its own update check removes the backup and finds nothing newer: no question, no download.
    EXPECT_TRUE(PumpUntil([&] { return !fs::exists(backup); }));
    EXPECT_TRUE(PumpUntil([&] { return m_server.Requests("/version.xml") == 2; }));
    PumpUntil([] { return false; }, 2000);
    EXPECT_EQ(m_server.Requests("/Moxel.exe"), 2);
    EXPECT_TRUE(DialogWindows(m_restarted).isEmpty());
    EXPECT_EQ(ReadFile(m_executable), m_newProgram);
    EXPECT_EQ(ReadFile(m_install / "version.xml"), "1.1\n");
}

}  // namespace
}  // namespace zelvo::test
