#include "MISCIL/MisMessages.h"

#include <cstring>
#include <string_view>

#include "MISCIL/MisCil.h"

namespace zelvo {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The first white-space-delimited word of a field; empty for an all-blank field.
std::string_view FirstWord(std::string_view field) {
    size_t begin = 0;
    while (begin < field.size() && IsBlank(field[begin])) ++begin;
    size_t end = begin;
    while (end < field.size() && !IsBlank(field[end])) ++end;
    return field.substr(begin, end - begin);
}

}  // namespace

int nUnpackMisReq(MisCilContext& context, const char* text) {
    ClearExchangeState(context);
    if (text == nullptr) return MisCilError::NoRequest;
    // Never look further than a full request and the buffer that keeps it.
    std::string_view request(text, strnlen(text, kMessageBufferSize));
    if (request.size() < kMisRequestMinLength) return MisCilError::ShortRequest;

    size_t offset = 0;
    for (const MisLayoutEntry& entry : context.misRequestLayout) {
        // The currency, last, takes whatever is left of the text.
        bool last = &entry == &context.misRequestLayout[kMisRequestFields - 1];
        std::string_view field =
            request.substr(offset, last ? std::string_view::npos : entry.width);
        offset += entry.width;
        if (entry.position == 5 && field.substr(0, 3) == "   ") {
            // An open channel is kept as blanks, not as an empty code.
            SetFieldValue(context.record, entry.field, field);
        } else {
            SetFieldValue(context.record, entry.field, FirstWord(field));
        }
    }
    std::memcpy(context.misReq.text, request.data(), request.size());
    context.misReq.text[request.size()] = '\0';
    context.misReq.length = request.size();
    return 0;
}

int nPackMisRsp(MisCilContext& context, char* out) {
    if (out == nullptr) return 8;
    std::memset(out, ' ', kMisResponseLength);
    out[kMisResponseLength] = '\0';
    size_t offset = 0;
    for (const MisLayoutEntry& entry : context.misResponseLayout) {
        std::string_view value = FieldValue(context.record, entry.field);
        std::memcpy(out + offset, value.data(),
                    value.size() < entry.width ? value.size() : entry.width);
        offset += entry.width;
    }
    std::memcpy(context.misRsp.text, out, kMisResponseLength + 1);
    context.misRsp.length = kMisResponseLength;
    return 0;
}

}  // namespace zelvo
