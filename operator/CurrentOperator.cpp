#include "operator/CurrentOperator.h"

#include <atomic>

namespace zelvo {
namespace {

std::atomic<bool> g_endOfShift{false};

}  // namespace

CurrentOperator& GetCurrentOperator() {
    static CurrentOperator current;
    return current;
}

bool EndOfShiftFlag() {
    return g_endOfShift.load();
}

void SetEndOfShiftFlag(bool on) {
    g_endOfShift.store(on);
}

}  // namespace zelvo
