#include "MISCIL/TransRecord.h"

namespace zelvo {

void SetFieldValue(TransRecord& record, RecordField field, std::string_view value) {
    char* text = FieldText(record, field);
    size_t count = value.size() < field.max ? value.size() : field.max;
    std::memcpy(text, value.data(), count);
    text[count] = '\0';
}

}  // namespace zelvo
