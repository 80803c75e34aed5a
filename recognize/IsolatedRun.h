#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace zelvo {

// Runs `work` in a child process of this one and gives back what it returned. The recogniser
// can abort the whole process on some lines (an assertion inside Tesseract with two languages
// loaded); in a child, that costs one reading, not the till. The child also takes whatever state
// the recogniser keeps from line to line with it, so each reading starts from the same state.
// None when the child fails, dies or outlives `limit`. Where no child can be started, `work`
// runs here.
std::optional<std::string> RunIsolated(const std::function<std::optional<std::string>()>& work,
                                       std::chrono::milliseconds limit);

}  // namespace zelvo
