#pragma once

#include <string>

#include "base/Clock.h"

namespace zelvo {

class CLocalDb;

// First day of the month four months before `today`, as "%Y%m%d": older log rows are pruned.
std::string PruneCutoff(const LocalTime& today);

// The journal of orders sent, created when missing.
void CreateOrderJournal(CLocalDb& db);

// Runs when the database opens: prunes old log rows and closed journal rows, creates the order
// journal when missing, turns single hot keys into Ctrl combinations and inserts the default
// rows that are still missing. Failures are ignored.
void RunStartupMaintenance(CLocalDb& db, const Clock& clock);

}  // namespace zelvo
