#pragma once

#include <string>
#include <string_view>

namespace zelvo {

// The name the transaction list shows for a channel code: the whole code is compared with the
// channel table ignoring letter case; an unknown code is shown as it is.
std::u16string ChannelDisplayName(std::string_view code);

// The name the settlement bill shows: the code must match exactly; an unknown code has no name.
std::u16string_view SettlementChannelName(std::string_view code);

// Columns the bill gives a channel name: one double-width column per character, except the QQ
// wallet, which is laid out as three.
int ChannelNameWidth(std::string_view code, std::u16string_view name);

}  // namespace zelvo
