#include "update/VersionCompare.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace zelvo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr double kNewerThreshold = 0.001;

}  // namespace

double LeadingVersionNumber(std::string_view text) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return 0.0;
    text.remove_prefix(start);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    // from_chars ignores the locale, which a Qt application sets from the environment.
    double value = 0.0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (error != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

bool IsNewerVersion(std::string_view remoteText, std::string_view localLine) {
    double remoteNumber = LeadingVersionNumber(remoteText);
    // A number single precision cannot hold is no version at all.
    if (std::fabs(remoteNumber) > std::numeric_limits<float>::max()) remoteNumber = 0.0;
    float remote = static_cast<float>(remoteNumber);
    double local = LeadingVersionNumber(localLine);
    return static_cast<double>(remote) - local > kNewerThreshold;
}

}  // namespace zelvo
