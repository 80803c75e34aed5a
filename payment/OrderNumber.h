#pragma once

#include <cstdint>
#include <string>

#include "base/Clock.h"

namespace zelvo {

// The C library's linear congruential generator, kept here so that order numbers come out the
// same on every platform: state = state * 214013 + 2531011, value = bits 16..30 of the state.
class OrderNumberRandom {
public:
    explicit OrderNumberRandom(std::uint32_t seed) : m_state(seed) {}
    int Next();

private:
    std::uint32_t m_state;
};

// 23 digits: local date and time to the millisecond, then a six-digit suffix from 100000 to
// 132767 that depends only on the current second.
std::string NewOrderNumber(const Clock& clock = CurrentClock());

// Set by the purchase builder (both) and the refund builder (LastOrderNumber only); used on the
// user-interface thread only.
std::string& LastOrderNumber();
std::string& LastPurchaseOrderNumber();

}  // namespace zelvo
