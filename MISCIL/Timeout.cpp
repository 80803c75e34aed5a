#include "MISCIL/Timeout.h"

#include <thread>

#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"

namespace zelvo {

int nSetTimeoutMon(MisCilContext& context) {
    context.timeout.deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(context.settings.waitTime);
    context.timeout.armed = true;
    return 0;
}

void OnTxnTimeout(MisCilContext& context) {
    WriteLogEvent(&context.record, 866, MisCilError::Timeout, "txn timeout");
    context.timeout.timedOut = true;
    SetFieldValue(context.record.saRespCode, RespCode::NoAnswer);
    StopTimeoutMon(context);
}

void StopTimeoutMon(MisCilContext& context) {
    context.timeout.armed = false;
}

int RemainingWaitMs(const MisCilContext& context) {
    if (!context.timeout.armed) return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        context.timeout.deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void WaitOutTimeout(MisCilContext& context) {
    if (!context.timeout.armed) return;
    std::this_thread::sleep_until(context.timeout.deadline);
    OnTxnTimeout(context);
}

}  // namespace zelvo
