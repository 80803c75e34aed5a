#include "store/LogPruning.h"

#include <utility>

#include "store/CLocalDb.h"
#include "store/StartupMaintenance.h"

namespace zelvo {

BackgroundLogPruning::BackgroundLogPruning(std::u16string path, LocalTime today)
    : m_thread([path = std::move(path), today] {
          CLocalDb db;
          // A failure leaves the rows for the next start; nothing else depends on them.
          if (db.Open(path)) PruneOldLogRows(db, today);
      }) {}

BackgroundLogPruning::~BackgroundLogPruning() {
    Wait();
}

void BackgroundLogPruning::Wait() {
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace zelvo
