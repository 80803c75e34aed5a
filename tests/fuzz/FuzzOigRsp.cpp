// The gateway's answer as it arrives: decoding and, for a success, the signature check.
#include <cstddef>
#include <cstdint>

#include "MISCIL/OigMessage.h"
#include "MISCIL/TransRecord.h"
#include "tests/fuzz/FuzzSetup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelvo::MisCilContext& context = zelvo::fuzz::FreshContext();
    const char* text = reinterpret_cast<const char*>(data);
    if (zelvo::nUnpackOIGRsp(context, text, size) == 0 &&
        zelvo::FieldValue(context.record.saRespCode) == "00") {
        zelvo::nCheckSign(context);
    }
    return 0;
}
