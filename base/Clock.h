#pragma once

#include <cstdint>
#include <string>

namespace zelvo {

struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Where "now" comes from; tests hand in a fixed or stepping clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
};

// The process's clock unless one was installed (tests install theirs).
const Clock& CurrentClock();
void InstallClock(const Clock* clock);

// Seconds since the epoch of a local time, as the C library's mktime counts them.
std::int64_t CalendarSeconds(const LocalTime& time);

// strftime-style formatting of a local time ("%Y-%m-%d %H:%M:%S", "%Y%m%d", ...).
std::string FormatLocalTime(const LocalTime& time, const char* format);

}  // namespace zelvo
