#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <regex>
#include <thread>

#include <gtest/gtest.h>

#include <QPrinter>

#include "PrintTestSupport.h"
#include "base/CodePage.h"
#include "print/DriverPrinter.h"
#include "print/PrintSettings.h"
#include "print/PrintWorker.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

const QString kPdfPrinterName = QStringLiteral("PDF-58");

// Output of a command-line tool, or none when the tool is not installed.
std::optional<std::string> CommandOutput(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    if (::pclose(pipe) != 0) return std::nullopt;
    return output;
}

class DriverPrint : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string pdf = (m_dir.Path() / "out.pdf").string();
        SetPrinterOpener([pdf](const QString& name) -> std::unique_ptr<QPrinter> {
            if (name != kPdfPrinterName) return nullptr;
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QString::fromStdString(pdf));
            return printer;
        });
        m_settings.PrintMerPage = "1";
        m_settings.PrintName = kPdfPrinterName.toStdU16String();
        m_settings.FontSize = 40;
        m_settings.LineHeight = 60;
    }
    void TearDown() override { SetPrinterOpener(nullptr); }

    test::ScopedWorkDir m_dir;
    test::RecordingFailureSink m_failures;
    PrintSettings m_settings;
};

TEST_F(DriverPrint, PrinterThatDoesNotExistReportsSelectionFailure) {
    test::WriteSlipFile("SCprint.txt", {u"line"});
    m_settings.PrintName = u"Printer that was removed";
    PrintWorker(m_settings);
    EXPECT_EQ(m_failures.Texts(), std::vector<std::u16string>{u"选择打印机失败！"});
}

TEST_F(DriverPrint, SystemLookupRefusesUnknownAndEmptyNames) {
    EXPECT_EQ(OpenNamedPrinter(QStringLiteral("Printer that was removed")), nullptr);
    EXPECT_EQ(OpenNamedPrinter(QString()), nullptr);
}

TEST_F(DriverPrint, LinesAppearInOrderOnOnePage) {
    std::vector<std::u16string> lines{u"交易结算账单", u"商户编号：898310060110001"};
    for (int i = 0; i < 80; ++i) lines.push_back(u"line " + Utf8ToUtf16(std::to_string(i)));
    test::WriteSlipFile("SCprint.txt", lines);
    PrintWorker(m_settings);
    EXPECT_TRUE(m_failures.Texts().empty());
    ASSERT_TRUE(std::filesystem::exists("out.pdf"));

    const auto info = CommandOutput("pdfinfo out.pdf");
    const auto text = CommandOutput("pdftotext -layout out.pdf -");
    if (!info || !text) GTEST_SKIP() << "poppler-utils not installed";
    EXPECT_TRUE(std::regex_search(*info, std::regex("Pages: +1\n"))) << *info;
    const size_t title = text->find("交易结算账单");
    const size_t merchant = text->find("商户编号：898310060110001");
    ASSERT_NE(title, std::string::npos) << *text;
    ASSERT_NE(merchant, std::string::npos) << *text;
    EXPECT_LT(title, merchant);
}

TEST_F(DriverPrint, ZeroLineHeightIsMeasuredFromTheFontAndRemembered) {
    test::WriteSlipFile("SCprint.txt", {u"a", u"b"});
    m_settings.LineHeight = 0;
    m_settings.FontSize = 0;
    PrintWorker(m_settings);
    EXPECT_EQ(m_settings.FontSize, 20);
    EXPECT_GT(m_settings.LineHeight, 20);
    EXPECT_EQ(RememberedLineHeight(), m_settings.LineHeight);
}

TEST_F(DriverPrint, MissingPrintFileDropsTheDocumentSilently) {
    PrintWorker(m_settings);
    EXPECT_TRUE(m_failures.Texts().empty());
}

TEST_F(DriverPrint, DocumentThatCannotStartReportsPrintFailed) {
    SetPrinterOpener([](const QString&) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QStringLiteral("/nonexistent-folder/out.pdf"));
        return printer;
    });
    test::WriteSlipFile("SCprint.txt", {u"line"});
    PrintWorker(m_settings);
    EXPECT_EQ(m_failures.Texts(), std::vector<std::u16string>{u"打印失败了"});
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

// A real spooler queue, where scripts/cups-queue.sh could set one up: the job must reach the
// queue's device with the slip's text in it.
TEST(DriverPrintThroughCups, JobReachesTheQueueDevice) {
    const char* queue = std::getenv("ZELVO_CUPS_PRINTER");
    const char* output = std::getenv("ZELVO_CUPS_OUTPUT");
    if (queue == nullptr || output == nullptr) GTEST_SKIP() << "no CUPS test queue set up";
    test::ScopedWorkDir dir;
    test::RecordingFailureSink failures;
    std::filesystem::remove(output);
    test::WriteSlipFile("SCprint.txt", {u"签购单", u"商家订单号：20260315100000000001"});
    PrintSettings settings;
    settings.PrintMerPage = "1";
    settings.PrintName = Utf8ToUtf16(queue);
    settings.FontSize = 40;
    settings.LineHeight = 60;
    PrintWorker(settings);
    EXPECT_TRUE(failures.Texts().empty());

    // The spooler delivers on its own time; wait for the whole document, at most half a minute.
    std::string delivered;
    for (int i = 0; i < 300; ++i) {
        delivered = test::ReadFile(output);
        if (delivered.find("%%EOF") != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_EQ(delivered.rfind("%PDF", 0), 0u) << "the queue received no document";
    const auto text = CommandOutput(std::string("pdftotext ") + output + " -");
    if (!text) GTEST_SKIP() << "poppler-utils not installed";
    EXPECT_NE(text->find("商家订单号：20260315100000000001"), std::string::npos) << *text;
}

}  // namespace
}  // namespace zelvo
