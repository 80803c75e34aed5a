#include <atomic>
#include <cstring>
#include <string>

#include "MISCIL/Connection.h"
#include "MISCIL/DebugInfo.h"
#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/MisMessages.h"
#include "MISCIL/OigMessage.h"
#include "MISCIL/SlipComposer.h"
#include "MISCIL/Timeout.h"

namespace zelvo {
namespace {

constexpr int kConnectAttempts = 3;
constexpr std::string_view kAuthMark = "&RSP_AUTH_NO_ERROR";

std::atomic<int> g_lastError{0};
std::atomic<bool> g_requestSent{false};

int SendRequest(MisCilContext& context, const char* request, size_t length) {
    int rc = 0;
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        rc = CConnect(context);
        if (rc != 0) {
            WriteLogEvent(&context.record, 1550, rc, "call CConnect failed");
            continue;
        }
        rc = CSendData(context, request, length);
        if (rc == 0) {
            g_requestSent = true;
            return 0;
        }
        WriteLogEvent(&context.record, 1555, rc, "call CSendData failed");
    }
    return rc;
}

// Waits for the answer; 0 with the message in `answer`, or the code that ends the exchange.
int ReceiveAnswer(MisCilContext& context, char* answer, size_t& length) {
    nSetTimeoutMon(context);
    context.timeout.timedOut = false;
    for (;;) {
        int rc = CRecvData(context, answer, kMessageBufferSize, length);
        if (rc == 0) break;
        if (rc == MisCilError::BadAnswer) {
            StopTimeoutMon(context);
            WriteLogEvent(&context.record, 1591, rc, "call nUnpackOIGRsp failed");
            return rc;
        }
        // The connection is gone: nothing more can come before the deadline.
        if (!context.timeout.timedOut) WaitOutTimeout(context);
        if (context.timeout.timedOut) return MisCilError::Timeout;
    }
    StopTimeoutMon(context);
    return 0;
}

// Marks an answer whose signature failed, as far as the field has room.
void MarkUnverified(TransRecord& record) {
    std::string detail(FieldValue(record.saErrDetail));
    SetFieldValue(record.saErrDetail, detail + std::string(kAuthMark));
}

int RunDriver(MisCilContext& context) {
    const MisCilCfg& cfg = context.cfg;
    TransRecord& record = context.record;
    if (FieldValue(record.saMerCode).empty()) SetFieldValue(record.saMerCode, cfg.MerCode);
    SetFieldValue(record.saAcqInsCode, cfg.InsCode);
    SetFieldValue(record.terminalid, cfg.TermCode);
    SetFieldValue(record.tradeFrom, "PC");

    char request[kMessageBufferSize];
    size_t requestLength = 0;
    int rc = nPackOIGReq(context, request, sizeof request, requestLength);
    if (rc != 0) {
        WriteLogEvent(&record, 1541, rc, "call nPackOIGReq failed");
        PrintDebugInfo(context);
        return rc;
    }
    rc = SendRequest(context, request, requestLength);
    if (rc != 0) return rc;

    char answer[kMessageBufferSize];
    size_t answerLength = 0;
    rc = ReceiveAnswer(context, answer, answerLength);
    if (rc != 0) return rc;

    rc = nUnpackOIGRsp(context, answer, answerLength);
    if (rc != 0) {
        WriteLogEvent(&record, 1591, rc, "call nUnpackOIGRsp failed");
        return rc;
    }
    if (FieldValue(record.saRespCode) == RespCode::Success) {
        rc = nCheckSign(context);
        if (rc != 0) {
            WriteLogEvent(&record, 1597, rc, "call nCheckSign failed from Rsp");
            MarkUnverified(record);
        }
        WriteTransactionSlip(record);
    }
    return 0;
}

int Fail(int code) {
    FlushExchangeLog();
    g_lastError = code;
    return 0;
}

}  // namespace

int MisCilExchange(const char* request) {
    MisCilContext* context = MisCilGetContext();
    if (context == nullptr) {
        MisCilCreateContext();
        context = MisCilGetContext();
    }
    InitFieldTables(*context);
    g_lastError = 0;
    g_requestSent = false;
    int rc = nUnpackMisReq(*context, request);
    if (rc != 0) return Fail(rc);
    rc = RunDriver(*context);
    if (rc != 0) return Fail(rc);
    char response[2049];
    rc = nPackMisRsp(*context, response);
    if (rc != 0) return Fail(rc);
    return 1;
}

int MisCilLastError() {
    return g_lastError;
}

bool MisCilRequestSent() {
    return g_requestSent;
}

}  // namespace zelvo
