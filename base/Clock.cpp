#include "base/Clock.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace zelvo {
namespace {

std::atomic<const Clock*> g_installed{nullptr};

std::tm ToTm(const LocalTime& time) {
    std::tm tm{};
    tm.tm_year = time.year - 1900;
    tm.tm_mon = time.month - 1;
    tm.tm_mday = time.day;
    tm.tm_hour = time.hour;
    tm.tm_min = time.minute;
    tm.tm_sec = time.second;
    tm.tm_isdst = -1;
    return tm;
}

}  // namespace

LocalTime SystemClock::Now() const {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&seconds, &tm);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                     tm.tm_min,         tm.tm_sec,     static_cast<int>(ms.count())};
}

const Clock& CurrentClock() {
    static const SystemClock system;
    const Clock* installed = g_installed.load();
    return installed ? *installed : system;
}

void InstallClock(const Clock* clock) { g_installed.store(clock); }

std::int64_t CalendarSeconds(const LocalTime& time) {
    std::tm tm = ToTm(time);
    return static_cast<std::int64_t>(std::mktime(&tm));
}

std::string FormatLocalTime(const LocalTime& time, const char* format) {
    std::tm tm = ToTm(time);
    char buffer[128];
    size_t length = std::strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, length);
}

}  // namespace zelvo
