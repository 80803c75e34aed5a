#pragma once

#include <cstddef>

namespace zelvo {

struct MisCilContext;

// Builds the signed gateway request from the record into `out` (room for `capacity` bytes) and
// the context's "oig req" buffer; `length` gets its size. 0 or a failure code.
int nPackOIGReq(MisCilContext& context, char* out, size_t capacity, size_t& length);

// Signs the packed request in the "oig req" buffer: 0, or 16 when no signature could be made
// (with MerKey empty the request stays unsigned and the answer is 0).
int nGenSign(MisCilContext& context);

// The 40 lowercase hexadecimal digits of the fields that the record's direction selects, into
// `out` (room for 41). 0 or -1.
int nCalcSign(MisCilContext& context, char* out);

// Parses a received message (prefix included) into the record. 0 or a failure code.
int nUnpackOIGRsp(MisCilContext& context, const char* text, size_t length);

// Verifies the answer's signature: 0 or 17.
int nCheckSign(MisCilContext& context);

}  // namespace zelvo
