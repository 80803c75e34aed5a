#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace zelvo {

struct MisCilContext;

// Closes the previous connection and connects to the configured gateway: 0, 14 or 19.
int CConnect(MisCilContext& context);

// Sends the whole message: 0 or 15.
int CSendData(MisCilContext& context, const char* data, size_t length);

// Receives one length-prefixed message into `buffer` (room for `capacity` bytes); `length` gets
// its size, prefix included. 9 when the peer closed or the receive failed or the deadline
// passed; 10 when the message announces more than `capacity` (it is read off and dropped).
int CRecvData(MisCilContext& context, char* buffer, size_t capacity, size_t& length);

// Resolves a host name to an IPv4 address (network byte order); false when it cannot. Tests
// install their own so that no name server is asked; an empty one restores the system's.
using HostNameResolver = std::function<bool(const std::string& name, std::uint32_t& address)>;
void SetHostNameResolver(HostNameResolver resolver);

// Closes the connection, if one is open.
void CloseConnection(MisCilContext& context);

}  // namespace zelvo
