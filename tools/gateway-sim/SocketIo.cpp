#include "tools/gateway-sim/SocketIo.h"

#include <sys/socket.h>

namespace zelvo::sim {

bool SendAll(int socket, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t rc = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (rc <= 0) return false;
        sent += static_cast<size_t>(rc);
    }
    return true;
}

}  // namespace zelvo::sim
