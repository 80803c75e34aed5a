#include "payment/ChannelNames.h"

#include "MISCIL/TxnCodes.h"
#include "base/CodePage.h"

namespace zelvo {
namespace {

constexpr std::string_view kQqWalletCode = "QQP";
constexpr int kQqWalletWidth = 3;

char FoldAsciiCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
    }
    return true;
}

}  // namespace

std::u16string ChannelDisplayName(std::string_view code) {
    for (const ChannelInfo& channel : kChannels) {
        if (EqualIgnoringCase(channel.code, code)) return std::u16string(channel.name);
    }
    return GbkToUtf16(code);
}

std::u16string_view SettlementChannelName(std::string_view code) {
    for (const ChannelInfo& channel : kChannels) {
        if (channel.code == code) return channel.name;
    }
    return {};
}

int ChannelNameWidth(std::string_view code, std::u16string_view name) {
    if (code == kQqWalletCode) return kQqWalletWidth;
    return static_cast<int>(name.size());
}

}  // namespace zelvo
