#pragma once

#include <string>

namespace zelvo::sim {

// Sends every byte, retrying short sends; false once the peer is gone. Never raises SIGPIPE.
bool SendAll(int socket, const std::string& bytes);

}  // namespace zelvo::sim
