#pragma once

namespace zelvo {

// Results of an exchange as its completion reports them.
enum class ExchangeResult {
    Failed = 0,     // the library's last error tells why
    Completed = 1,  // an answer was read
    NothingSent = 2,
};

}  // namespace zelvo
