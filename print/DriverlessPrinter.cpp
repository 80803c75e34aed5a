#include "print/DriverlessPrinter.h"

#include <cerrno>
#include <chrono>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include "base/CodePage.h"
#include "print/PrintFailure.h"
#include "print/PrintSettings.h"
#include "print/SlipFileReader.h"

namespace zelvo {
namespace {

// How long one line may take to leave for the device before the job gives up.
constexpr std::chrono::milliseconds kLineWriteTimeout{500};
// Read interval of one second, in tenths.
constexpr cc_t kReadIntervalTenths = 10;

class PrinterDevice {
public:
    explicit PrinterDevice(const std::string& path) {
        // Existing devices and files only; appending keeps earlier output of a plain file.
        m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_APPEND | O_CLOEXEC);
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) Close();
    }
    ~PrinterDevice() { Close(); }
    PrinterDevice(const PrinterDevice&) = delete;
    PrinterDevice& operator=(const PrinterDevice&) = delete;

    bool IsOpen() const { return m_fd >= 0; }

    // Serial line: bytes pass unaltered (no CR insertion), reads return after a second.
    void SetSerialTimeouts() {
        termios options{};
        if (::tcgetattr(m_fd, &options) != 0) return;  // not a terminal
        options.c_oflag &= ~static_cast<tcflag_t>(OPOST);
        options.c_cc[VMIN] = 0;
        options.c_cc[VTIME] = kReadIntervalTenths;
        ::tcsetattr(m_fd, TCSANOW, &options);
    }

    bool WriteAll(const std::string& bytes) {
        const auto deadline = std::chrono::steady_clock::now() + kLineWriteTimeout;
        size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.data() + written, bytes.size() - written);
            if (n > 0) {
                written += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd ready{m_fd, POLLOUT, 0};
            if (::poll(&ready, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
                return false;
            }
        }
        return true;
    }

private:
    void Close() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }

    int m_fd = -1;
};

}  // namespace

void PrintDriverless(const PrintSettings& settings) {
    PrinterDevice device(Utf16ToUtf8(settings.SerialPort));
    if (!device.IsOpen()) {
        ReportPrintFailure(kPrintDeviceFailed);
        return;
    }
    device.SetSerialTimeouts();
    const auto lines = ReadSlipLines(settings.slipFile);
    if (!lines) return;
    for (const std::u16string& line : *lines) {
        if (!device.WriteAll(Utf16ToGbk(line) + "\r\n")) {
            ReportPrintFailure(kPrintDeviceFailed);
            return;
        }
    }
}

}  // namespace zelvo
