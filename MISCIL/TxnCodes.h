#pragma once

#include <array>
#include <string_view>

namespace zelvo {

// Transaction codes carried in busicd.
namespace TxnCode {
inline constexpr std::string_view Purchase = "PURC";
inline constexpr std::string_view Query = "INQY";
inline constexpr std::string_view Void = "VOID";
inline constexpr std::string_view Refund = "REFD";
inline constexpr std::string_view Cancel = "CANC";
inline constexpr std::string_view PreAuth = "PAUT";
inline constexpr std::string_view Verify = "VERI";
}  // namespace TxnCode

// Response codes the library itself interprets; every other code passes through unchanged.
namespace RespCode {
inline constexpr std::string_view Success = "00";
inline constexpr std::string_view InProgress = "09";
inline constexpr std::string_view NoAnswer = "98";
}  // namespace RespCode

// A request whose channel is still open carries this code.
inline constexpr std::string_view kOpenChannelCode = "SCT";

struct ChannelInfo {
    std::string_view code;
    std::u16string_view name;
};

inline constexpr std::array<ChannelInfo, 8> kChannels{{
    {"WXP", u"微信"},
    {"ALP", u"支付宝"},
    {"YLP", u"银联钱包"},
    {"QQP", u"QQ钱包"},
    {"JDP", u"京东钱包"},
    {"BDP", u"百度钱包"},
    {"YDP", u"移动和包"},
    {"YZF", u"翼支付"},
}};

// The channel of a chcd value (its first three characters, letter case ignored); null when the
// code is not one of the known channels.
const ChannelInfo* FindChannel(std::string_view code);

}  // namespace zelvo
