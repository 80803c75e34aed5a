#include "store/LocalDb.h"

#include <memory>

#include "base/Clock.h"
#include "store/LogPruning.h"
#include "store/StartupMaintenance.h"

namespace zelvo {
namespace {

constexpr char16_t kDatabaseFile[] = u"MISData.db";

std::unique_ptr<CLocalDb> g_db;
std::unique_ptr<BackgroundLogPruning> g_pruning;
MessageSink g_sink;

}  // namespace

void SetLocalDbMessageSink(MessageSink sink) { g_sink = std::move(sink); }

CLocalDb* GetLocalDb() {
    if (g_db) return g_db.get();
    auto db = std::make_unique<CLocalDb>();
    if (!db->Open(kDatabaseFile)) {
        if (g_sink) g_sink(u"打开数据库失败，请更换目录试试！", u"提示框");
        return nullptr;
    }
    RunStartupMaintenance(*db);
    g_pruning = std::make_unique<BackgroundLogPruning>(kDatabaseFile, CurrentClock().Now());
    g_db = std::move(db);
    return g_db.get();
}

void WaitForLogPruning() {
    if (g_pruning) g_pruning->Wait();
}

void CloseLocalDb() {
    g_pruning.reset();
    g_db.reset();
}

}  // namespace zelvo
