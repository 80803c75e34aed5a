#pragma once

#include <cstddef>

namespace zelvo {

// Each operation page owns one: the first holder of the process creates the gateway library's
// context and loads the terminal configuration into it; the last one to go destroys the context.
class MisCilHolder {
public:
    static constexpr size_t kRequestSize = 2049;

    MisCilHolder();
    ~MisCilHolder();
    MisCilHolder(const MisCilHolder&) = delete;
    MisCilHolder& operator=(const MisCilHolder&) = delete;

    // The page's request buffer, where its fixed-width request is built.
    char* Request() { return m_request; }
    const char* Request() const { return m_request; }
    void ClearRequest();

private:
    char m_request[kRequestSize];
};

}  // namespace zelvo
