#include <cstdio>
#include <string>

#include "tools/gateway-sim/GatewaySim.h"
#include "tools/gateway-sim/SimOptions.h"

int main(int argc, char** argv) {
    using namespace zelvo::sim;
    std::string error;
    std::optional<SimOptions> options = ParseSimOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "gateway-sim: %s\n\n%s", error.c_str(), SimUsage());
        return 2;
    }
    if (options->help) {
        std::fputs(SimUsage(), stdout);
        return 0;
    }
    return RunGatewaySimUntilSignal(*options);
}
