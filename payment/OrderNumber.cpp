#include "payment/OrderNumber.h"

#include <cstdio>

namespace zelvo {

int OrderNumberRandom::Next() {
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7fffu);
}

std::string NewOrderNumber(const Clock& clock) {
    LocalTime now = clock.Now();
    // Reseeded from the whole second each time: the suffix alone never tells two orders of the
    // same second apart, the milliseconds do.
    OrderNumberRandom random(static_cast<std::uint32_t>(CalendarSeconds(now)));
    int suffix = random.Next() % 900000 + 100000;
    char text[64];
    std::snprintf(text, sizeof text, "%4d%02d%02d%02d%02d%02d%03d%06d", now.year, now.month,
                  now.day, now.hour, now.minute, now.second, now.millisecond, suffix);
    return text;
}

std::string& LastOrderNumber() {
    static std::string number;
    return number;
}

std::string& LastPurchaseOrderNumber() {
    static std::string number;
    return number;
}

}  // namespace zelvo
