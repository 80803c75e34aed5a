#pragma once

#include <string_view>

#include "MISCIL/CfgValues.h"
#include "MISCIL/MisCilContext.h"
#include "MISCIL/TransRecord.h"
#include "MISCIL/TxnCodes.h"

namespace zelvo {

// Exchange result codes (MisCilLastError), besides the encoding codes of the message layer.
namespace MisCilError {
inline constexpr int Timeout = 1;
inline constexpr int NoRequest = 2;
inline constexpr int ShortRequest = 4;
inline constexpr int NoOutput = 5;
inline constexpr int PeerClosed = 9;
inline constexpr int BadAnswer = 10;
inline constexpr int PortConfig = 11;
inline constexpr int Connect = 14;
inline constexpr int Send = 15;
inline constexpr int SignFailed = 16;
inline constexpr int SignCheck = 17;
inline constexpr int Resolve = 19;
inline constexpr int NoBraces = 10007;
inline constexpr int AmountDecimals = 10072;
inline constexpr int AmountTooLarge = 10079;
}  // namespace MisCilError

// The process-wide context: created once at start-up (true when this call created it) and
// destroyed at exit, which stops the time-out, flushes the log and closes the connection.
bool MisCilCreateContext();
void MisCilDestroyContext();
// Null before creation or after destruction.
MisCilContext* MisCilGetContext();

// Takes the configuration, opens today's logfile.txt in the current directory and derives the
// port, waiting time, slip layout, charset and host-name mode. 0, or 11 when ServerPort is not
// a number (the rest is then left as it was).
int nLoadCfg(const MisCilCfg& cfg);

// The configuration as taken by the last nLoadCfg.
const MisCilCfg& LoadedMisCilCfg();
const MisCilSettings& LoadedMisCilSettings();

// The logged-in operator, as the slips show it (its first two characters are kept).
void MisCilSetOperatorId(std::string_view operatorId);

// Runs one exchange of the process context with a fixed-width request text. 1 when it
// completed (whatever the gateway answered: read the record), 0 when a step failed.
int MisCilExchange(const char* request);

// The code of the step that failed the last exchange, one of MisCilError (or an encoding code of
// the message layer, such as MisCilError::NoBraces); 0 after success.
int MisCilLastError();

// Whether the request of the last exchange left the machine: after that, a failure says
// nothing of what the gateway did with it.
bool MisCilRequestSent();

}  // namespace zelvo
