#pragma once

#include <functional>
#include <string>

#include "store/CLocalDb.h"

namespace zelvo {

// How the store tells the operator something (a message box in the application).
using MessageSink = std::function<void(const std::u16string& text, const std::u16string& title)>;
void SetLocalDbMessageSink(MessageSink sink);

// The process's database: "MISData.db" in the current directory, opened and maintained on the
// first call, which also starts pruning the old log rows in the background. None when it cannot
// be opened (the operator has been told); the next call tries again.
CLocalDb* GetLocalDb();

// Waits until the background pruning started by GetLocalDb has ended.
void WaitForLogPruning();

// Closes and forgets the process's database, after the pruning (at exit, and between tests).
void CloseLocalDb();

}  // namespace zelvo
