#pragma once

#include <optional>
#include <string>

namespace zelvo {

// Configuration values the library takes from the terminal configuration, as stored.
struct MisCilCfg {
    std::string ServerIP;
    std::string ServerPort;
    std::string WaitTime;
    std::string InsCode;
    std::string MerCode;
    std::string TermCode;
    std::string Charset;
    std::string SpacLine;
    std::string LineWide;
    std::string MerKey;
    std::u16string MerName;
    std::string PrintMerPage;
    std::string PrintCustPage;
};

// What the library derives from them.
struct MisCilSettings {
    std::optional<int> serverPort;  // none: not a decimal number
    int waitTime = 1;               // seconds, 1..100
    int spacLine = 1;               // 1..15
    int lineWidth = 32;             // below 1 counts as 32
    std::string charset = "1";      // "1" UTF-8, "2" system code page
    bool hostNameMode = false;      // ServerIP holds a letter: resolve it by name
};

// Leading decimal digits after optional blanks and sign; none gives 0 (the C library's atoi
// without its overflow).
int LeadingInteger(const std::string& text);
std::optional<int> ParseServerPort(const std::string& text);
int ClampWaitTime(const std::string& text);
int ClampSpacLine(const std::string& text);
int LineWidthOf(const std::string& text);
std::string CorrectCharset(const std::string& text);
bool IsHostName(const std::string& serverIp);

MisCilSettings DeriveMisCilSettings(const MisCilCfg& cfg);

}  // namespace zelvo
