#pragma once

#include <cstddef>

namespace zelvo {

struct MisCilContext;

// Parses a fixed-width request text (zero-terminated) into the record, after clearing it.
// 2 without text, 4 when shorter than 713 characters.
int nUnpackMisReq(MisCilContext& context, const char* text);

// Formats the fixed-width answer into `out` (room for 1508 characters) and the context.
// 8 without `out`.
int nPackMisRsp(MisCilContext& context, char* out);

}  // namespace zelvo
