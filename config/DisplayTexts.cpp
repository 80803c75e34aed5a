#include "config/DisplayTexts.h"

#include "base/CodePage.h"
#include "store/CLocalDb.h"
#include "store/RowCallbacks.h"

namespace zelvo {
namespace {

void ReadText(CLocalDb& db, const char* name, std::u16string& target) {
    std::string value;
    std::string sql = std::string("select Value from SysConfig where Name = '") + name + "'";
    if (db.ExecuteWithCallback(sql, FirstColumnToText, &value)) target = Utf8ToUtf16(value);
}

}  // namespace

DisplayTexts LoadDisplayTexts(CLocalDb& db) {
    DisplayTexts texts;
    ReadText(db, "TitleName", texts.TitleName);
    ReadText(db, "StatusName", texts.StatusName);
    ReadText(db, "WelComeName", texts.WelComeName);
    return texts;
}

DisplayTexts& GetDisplayTexts() {
    static DisplayTexts texts;
    return texts;
}

}  // namespace zelvo
