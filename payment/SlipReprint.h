#pragma once

#include <filesystem>

#include "MISCIL/SlipComposer.h"

namespace zelvo {

class CLocalDb;
struct QueryRow;

// Writes the slip of a listed transaction into `file` as the terminal lays slips out: the
// row's operator, time, channel and amount as listed, with the account and the channel's order
// number looked up in the log (left empty unless exactly one row matches). A refund row is found
// by its own order number and time. False when the file could not be written.
bool ReprintSlip(CLocalDb* db, const QueryRow& row, SlipTerminal terminal,
                 const std::filesystem::path& file = kSlipFileName);

}  // namespace zelvo
