// A till's request text: parsing, the fixed-width answer and the signed gateway request.
#include <cstddef>
#include <cstdint>
#include <string>

#include "MISCIL/MisMessages.h"
#include "MISCIL/OigMessage.h"
#include "tests/fuzz/FuzzSetup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelvo::MisCilContext& context = zelvo::fuzz::FreshContext();
    std::string text(reinterpret_cast<const char*>(data), size);  // zero-terminated copy
    if (zelvo::nUnpackMisReq(context, text.c_str()) != 0) return 0;
    char response[2049];
    zelvo::nPackMisRsp(context, response);
    char request[1024];
    size_t length = 0;
    zelvo::nPackOIGReq(context, request, sizeof request, length);
    return 0;
}
