#include "settings/PageKeys.h"

#include "settings/KeyNameTable.h"

namespace zelvo {

bool DispatchQueryPageKey(int virtualKey, CLocalDb* db, PageKeyHost& host) {
    if (virtualKey == LookupPageKey(db, "RepealKey", VirtualKey::F3)) {
        host.StartRefund();
        return true;
    }
    if (virtualKey == LookupPageKey(db, "SettleKey", VirtualKey::F4)) {
        host.OpenSettlement();
        return true;
    }
    return false;
}

bool DispatchSharedPageKey(int virtualKey, bool onLoginPanel, CLocalDb* db, PageKeyHost& host) {
    if (virtualKey == VirtualKey::Escape) {
        host.SetEndOfShift();
        if (!onLoginPanel) host.OpenSettlement();
        return false;
    }
    if (onLoginPanel) return false;
    if (virtualKey == LookupPageKey(db, "LeftKey", VirtualKey::F1)) {
        host.PreviousPage();
        return true;
    }
    if (virtualKey == LookupPageKey(db, "RightKey", VirtualKey::F2)) {
        host.NextPage();
        return true;
    }
    return false;
}

}  // namespace zelvo
