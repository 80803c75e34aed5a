#pragma once

namespace zelvo {

// Row callbacks for CLocalDb::ExecuteWithCallback: the first column of each row goes into the
// context (the last row wins; no row leaves it untouched; NULL counts as empty text).
// context: std::string* (8-bit as stored).
int FirstColumnToText(void* context, int columnCount, char** values, char** names);
// context: std::u16string* (converted from the system code page).
int FirstColumnToText16(void* context, int columnCount, char** values, char** names);

}  // namespace zelvo
