#include "MISCIL/CfgValues.h"

#include <algorithm>
#include <cctype>

namespace zelvo {

int LeadingInteger(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = std::min(value * 10 + (text[i] - '0'), 10'000'000'000LL);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

std::optional<int> ParseServerPort(const std::string& text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; })) {
        return std::nullopt;
    }
    int port = std::stoi(text);
    if (port > 65535) return std::nullopt;
    return port;
}

int ClampWaitTime(const std::string& text) {
    return std::clamp(LeadingInteger(text), 1, 100);
}

int ClampSpacLine(const std::string& text) {
    return std::clamp(LeadingInteger(text), 1, 15);
}

int LineWidthOf(const std::string& text) {
    int width = LeadingInteger(text);
    return width < 1 ? 32 : width;
}

std::string CorrectCharset(const std::string& text) {
    return (text == "1" || text == "2") ? text : "1";
}

bool IsHostName(const std::string& serverIp) {
    return std::any_of(serverIp.begin(), serverIp.end(), [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

MisCilSettings DeriveMisCilSettings(const MisCilCfg& cfg) {
    MisCilSettings settings;
    settings.serverPort = ParseServerPort(cfg.ServerPort);
    settings.waitTime = ClampWaitTime(cfg.WaitTime);
    settings.spacLine = ClampSpacLine(cfg.SpacLine);
    settings.lineWidth = LineWidthOf(cfg.LineWide);
    settings.charset = CorrectCharset(cfg.Charset);
    settings.hostNameMode = IsHostName(cfg.ServerIP);
    return settings;
}

}  // namespace zelvo
