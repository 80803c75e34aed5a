#pragma once

#include <functional>
#include <string>

#include "store/CLocalDb.h"

namespace zelvo {

// How the store tells the operator something (a message box in the application).
using MessageSink = std::function<void(const std::u16string& text, const std::u16string& title)>;
void SetLocalDbMessageSink(MessageSink sink);

// The process's database: "MISData.db" in the current directory, opened and maintained on the
// first call. None when it cannot be opened (the operator has been told); the next call tries
// again.
CLocalDb* GetLocalDb();

// Closes and forgets the process's database (at exit, and between tests).
void CloseLocalDb();

}  // namespace zelvo
