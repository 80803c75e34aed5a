#pragma once

#include <filesystem>

namespace zelvo::bench {

// The share of rows a till writes in July when it writes evenly from 1 July to 7 December.
constexpr double kEvenJulyShare = 31.0 / 160.0;

// Makes the delivered database at `path` and fills TBL_TRANS_LOG with `rows` rows written from
// 1 July to 7 December 2026, `oldShare` of them in July (pruned on 7 December): ten operators,
// all eight channels, one refund in twenty, the last 2000 rows of each operator unsettled.
void MakeLogDatabase(const std::filesystem::path& path, int rows, double oldShare = kEvenJulyShare);

// A copy of `from` at `to` without the indexes of TBL_TRANS_LOG.
void CopyWithoutIndexes(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace zelvo::bench
