#pragma once

#include <string>

namespace zelvo {

class CLocalDb;

// The window texts, stored as UTF-8 in SysConfig.
struct DisplayTexts {
    std::u16string TitleName = u"Zelvo";
    std::u16string StatusName = u"扫码收款 · 微信 支付宝 银联 随扫随收";
    std::u16string WelComeName = u"欢迎进入Zelvo";
};

// A key whose statement succeeds replaces the default, even with no row (then it is empty).
DisplayTexts LoadDisplayTexts(CLocalDb& db);

DisplayTexts& GetDisplayTexts();

}  // namespace zelvo
