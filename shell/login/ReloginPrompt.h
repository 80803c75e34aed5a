#pragma once

namespace zelvo {

// "确定要重新登陆吗？": confirmed, the program restarts at the login panel; declined, the same
// operator stays and the end-of-shift flag is cleared.
void ReloginPrompt();

}  // namespace zelvo
