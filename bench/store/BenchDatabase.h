#pragma once

#include <filesystem>

namespace zelvo::bench {

// Makes the delivered database at `path` and fills TBL_TRANS_LOG with `rows` rows spread over
// the 160 days before 7 December 2026: ten operators, all eight channels, one refund in twenty,
// the last 2000 rows of each operator unsettled.
void MakeLogDatabase(const std::filesystem::path& path, int rows);

// A copy of `from` at `to` without the indexes of TBL_TRANS_LOG.
void CopyWithoutIndexes(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace zelvo::bench
