#pragma once

#include "shell/ShellPage.h"

namespace zelvo {

class CLocalDb;

// The change-password page behind its tab, and for the other tabs whatever `others` makes
// (placeholders until the operation pages are slotted in).
PageFactory MakeShellPageFactory(CLocalDb& db, PageFactory others);

}  // namespace zelvo
