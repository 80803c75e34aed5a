#include "MISCIL/TxnCodes.h"

#include <cctype>

namespace zelvo {

const ChannelInfo* FindChannel(std::string_view code) {
    if (code.size() < 3) return nullptr;
    for (const ChannelInfo& channel : kChannels) {
        bool same = true;
        for (size_t i = 0; i < 3; ++i) {
            same = same && std::toupper(static_cast<unsigned char>(code[i])) == channel.code[i];
        }
        if (same) return &channel;
    }
    return nullptr;
}

}  // namespace zelvo
