#pragma once

namespace zelvo {

class CLocalDb;

// What the page keys act on: the main window's page area.
class PageKeyHost {
public:
    virtual ~PageKeyHost() = default;
    virtual void PreviousPage() = 0;
    virtual void NextPage() = 0;
    // The refund action and the settlement prompt of the query and refund page.
    virtual void StartRefund() = 0;
    virtual void OpenSettlement() = 0;
    virtual void SetEndOfShift() = 0;
};

// Both answer true when the key is consumed. Modifiers are not considered, and each configured
// key is read afresh from SysConfig so that an edited value applies at the next key press.

// The query and refund page's RepealKey (refund) and SettleKey (settlement prompt); the page
// checks them after its Enter and Tab and before the shared keys.
bool DispatchQueryPageKey(int virtualKey, CLocalDb* db, PageKeyHost& host);

// The keys of every panel: LeftKey and RightKey switch pages (not on the login panel, where a
// key configured as a letter must still type), and Escape marks the end of the shift and, on a
// page, opens the settlement prompt; Escape then goes on to the focused control.
bool DispatchSharedPageKey(int virtualKey, bool onLoginPanel, CLocalDb* db, PageKeyHost& host);

}  // namespace zelvo
