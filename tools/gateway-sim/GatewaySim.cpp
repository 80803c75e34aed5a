#include "tools/gateway-sim/GatewaySim.h"

#include <cstdio>

namespace zelvo::sim {

class OrderBook {};
struct GatewaySim::Workers {};

GatewaySim::GatewaySim(SimOptions options) : m_options(std::move(options)) {}
GatewaySim::~GatewaySim() {
    Stop();
}
bool GatewaySim::Start() {
    return false;
}
void GatewaySim::Stop() {}
void GatewaySim::SetLineSink(std::function<void(const std::string&)> sink) {
    m_sink = std::move(sink);
}

int RunGatewaySimUntilSignal(const SimOptions&) {
    std::fprintf(stderr, "gateway-sim: serving is not ready yet\n");
    return 1;
}

}  // namespace zelvo::sim
