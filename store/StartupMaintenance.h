#pragma once

#include <string>

#include "base/Clock.h"

namespace zelvo {

class CLocalDb;

// First day of the month four months before `today`, as "%Y%m%d": older log rows are pruned.
std::string PruneCutoff(const LocalTime& today);

// Runs when the database opens: prunes old log rows, turns single hot keys into Ctrl
// combinations and inserts the default rows that are still missing. Failures are ignored.
void RunStartupMaintenance(CLocalDb& db, const Clock& clock);

}  // namespace zelvo
