#include "store/RowCallbacks.h"

#include <string>

#include "base/CodePage.h"

namespace zelvo {

int FirstColumnToText(void* context, int columnCount, char** values, char** /*names*/) {
    if (!context) return 0;
    auto& text = *static_cast<std::string*>(context);
    text = (columnCount > 0 && values && values[0]) ? values[0] : "";
    return 0;
}

int FirstColumnToText16(void* context, int columnCount, char** values, char** /*names*/) {
    if (!context) return 0;
    auto& text = *static_cast<std::u16string*>(context);
    text = (columnCount > 0 && values && values[0]) ? GbkToUtf16(values[0]) : std::u16string();
    return 0;
}

}  // namespace zelvo
