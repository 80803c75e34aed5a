#include "payment/ChannelNames.h"

#include "MISCIL/TxnCodes.h"
#include "base/CodePage.h"
#include "base/Text.h"

namespace zelvo {
namespace {

constexpr std::string_view kQqWalletCode = "QQP";
constexpr int kQqWalletWidth = 3;

}  // namespace

std::u16string ChannelDisplayName(std::string_view code) {
    for (const ChannelInfo& channel : kChannels) {
        if (EqualsIgnoringCase(channel.code, code)) return std::u16string(channel.name);
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
