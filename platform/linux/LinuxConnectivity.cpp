#include "platform/Connectivity.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace zelvo {
namespace {

// Online means a default route through an interface other than loopback, for IPv4 or IPv6.
bool HasIpv4DefaultRoute() {
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::getline(routes, line);  // header
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string iface, destination, gateway, flags;
        if (!(fields >> iface >> destination >> gateway >> flags)) continue;
        bool up = (std::stoul(flags, nullptr, 16) & 0x1) != 0;
        if (iface != "lo" && destination == "00000000" && up) return true;
    }
    return false;
}

bool HasIpv6DefaultRoute() {
    std::ifstream routes("/proc/net/ipv6_route");
    std::string line;
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string destination, prefix, skip, iface;
        if (!(fields >> destination >> prefix)) continue;
        for (int i = 0; i < 7; ++i) fields >> skip;
        fields >> iface;
        if (destination == std::string(32, '0') && prefix == "00" && iface != "lo" && !iface.empty())
            return true;
    }
    return false;
}

class LinuxConnectivityCheck final : public ConnectivityCheck {
public:
    bool IsOnline() override {
        // ZELVO_NETWORK=online|offline pins the answer for demos and whole-program tests.
        const char* forced = std::getenv("ZELVO_NETWORK");
        if (forced && std::string_view(forced) == "online") return true;
        if (forced && std::string_view(forced) == "offline") return false;
        return HasIpv4DefaultRoute() || HasIpv6DefaultRoute();
    }
};

}  // namespace

std::unique_ptr<ConnectivityCheck> CreateSystemConnectivityCheck() {
    return std::make_unique<LinuxConnectivityCheck>();
}

}  // namespace zelvo
