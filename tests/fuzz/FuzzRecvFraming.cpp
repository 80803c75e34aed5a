// Whatever a peer sends before it closes: the framing of the receive, then the decoding.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "MISCIL/Connection.h"
#include "MISCIL/OigMessage.h"
#include "MISCIL/Timeout.h"
#include "tests/fuzz/FuzzSetup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelvo::MisCilContext& context = zelvo::fuzz::FreshContext();
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) std::abort();
    // Inputs stay far below the socket buffer, so the write never blocks.
    if (size > 0 && write(pair[1], data, size) != static_cast<ssize_t>(size)) std::abort();
    close(pair[1]);

    context.connection.socket = pair[0];
    zelvo::nSetTimeoutMon(context);
    char buffer[zelvo::kMessageBufferSize];
    size_t length = 0;
    if (zelvo::CRecvData(context, buffer, sizeof buffer, length) == 0) {
        if (length > sizeof buffer) std::abort();
        zelvo::nUnpackOIGRsp(context, buffer, length);
    }
    zelvo::StopTimeoutMon(context);
    zelvo::CloseConnection(context);
    return 0;
}
