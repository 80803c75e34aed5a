#pragma once

#include <string>

#include "base/Clock.h"

namespace zelvo {

class CLocalDb;

// First day of the month four months before `today`, as "%Y%m%d": older log rows are pruned.
std::string PruneCutoff(const LocalTime& today);

// The journal of orders sent, created when missing.
void CreateOrderJournal(CLocalDb& db);

// Runs when the database opens: creates the order journal when missing, turns single hot keys
// into Ctrl combinations and inserts the default rows that are still missing. Failures are
// ignored.
void RunStartupMaintenance(CLocalDb& db);

// Deletes the log rows and closed journal rows older than the cut-off of `today`, a batch at a
// time, so that no single transaction keeps the database from the pages for long. False when a
// statement failed.
bool PruneOldLogRows(CLocalDb& db, const LocalTime& today);

}  // namespace zelvo
