#pragma once

#include <memory>

namespace zelvo {

// Whether the computer is online, as the operating system sees it.
class ConnectivityCheck {
public:
    virtual ~ConnectivityCheck() = default;
    virtual bool IsOnline() = 0;
};

std::unique_ptr<ConnectivityCheck> CreateSystemConnectivityCheck();

}  // namespace zelvo
