#pragma once

#include <iosfwd>

namespace zelvo {

// `zelvo-mis exchange`: one request from `in`, the fixed-width answer to `out` (0), or
// "error N" to `err` (1). Works on the MISData.db of the current directory.
int RunMisExchange(std::istream& in, std::ostream& out, std::ostream& err);

// The whole command line; its exit code.
int RunMisCommand(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace zelvo
