#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "MISCIL/CfgValues.h"
#include "MISCIL/FieldTables.h"
#include "MISCIL/TransRecord.h"

namespace zelvo {

inline constexpr size_t kMessageBufferSize = 1024;

// A message as sent or received, with its length; always terminated.
template <size_t Capacity>
struct MessageBuffer {
    char text[Capacity + 1];
    size_t length;
};

// The deadline that ends the wait for an answer.
struct TimeoutState {
    std::chrono::steady_clock::time_point deadline;
    bool armed;
    bool timedOut;
};

// The gateway connection: open from one exchange to the start of the next.
struct ConnectionState {
    int socket;  // -1 when none
    bool addressResolved;
    std::uint32_t resolvedAddress;  // network byte order, kept for the rest of the run
};

// The library's working context. One exists for the process (MisCilCreateContext); tests make
// their own.
struct MisCilContext {
    TransRecord record;
    Bitmap requestBitmap;
    Bitmap answerBitmap;
    MessageBuffer<kMessageBufferSize> oigReq;
    MessageBuffer<kMessageBufferSize> oigRsp;
    MessageBuffer<kMessageBufferSize> misReq;
    MessageBuffer<kMisResponseLength> misRsp;
    std::string signDebugText;  // input of the last signature computation

    FieldDef fields[kFieldCount];
    TxnBitmapDef txnBitmaps[kTxnBitmapCount];
    MisLayoutEntry misRequestLayout[kMisRequestFields];
    MisLayoutEntry misResponseLayout[kMisResponseFields];

    TimeoutState timeout;
    ConnectionState connection;

    // The configuration the steps read. A context starts with that of the last nLoadCfg, which
    // also updates the process context; tests and fuzz targets set their own.
    MisCilCfg cfg;
    MisCilSettings settings;

    MisCilContext();
    ~MisCilContext();
    MisCilContext(const MisCilContext&) = delete;
    MisCilContext& operator=(const MisCilContext&) = delete;
};

// Clears what one exchange fills: the record, bitmaps, message buffers and signature text.
void ClearExchangeState(MisCilContext& context);

}  // namespace zelvo
