#include "store/LocalDb.h"

#include <memory>

#include "base/Clock.h"
#include "store/StartupMaintenance.h"

namespace zelvo {
namespace {

std::unique_ptr<CLocalDb> g_db;
MessageSink g_sink;

}  // namespace

void SetLocalDbMessageSink(MessageSink sink) { g_sink = std::move(sink); }

CLocalDb* GetLocalDb() {
    if (g_db) return g_db.get();
    auto db = std::make_unique<CLocalDb>();
    if (!db->Open(u"MISData.db")) {
        if (g_sink) g_sink(u"打开数据库失败，请更换目录试试！", u"提示框");
        return nullptr;
    }
    RunStartupMaintenance(*db, CurrentClock());
    g_db = std::move(db);
    return g_db.get();
}

void CloseLocalDb() { g_db.reset(); }

}  // namespace zelvo
