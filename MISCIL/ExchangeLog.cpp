#include "MISCIL/ExchangeLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>

#include "base/Clock.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/MisCilConfig.h"

namespace zelvo {
namespace {

constexpr const char* kLogFileName = "logfile.txt";

std::mutex g_logMutex;
std::FILE* g_logFile = nullptr;  // null: events go to standard output

std::FILE* Destination() {
    return g_logFile != nullptr ? g_logFile : stdout;
}

bool FirstLineHolds(const char* path, const std::string& date) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string firstLine;
    std::getline(in, firstLine);
    return firstLine.find(date) != std::string::npos;
}

}  // namespace

void OpenExchangeLog() {
    std::lock_guard lock(g_logMutex);
    if (g_logFile != nullptr) {
        std::fclose(g_logFile);
        g_logFile = nullptr;
    }
    std::string today = FormatLocalTime(CurrentClock().Now(), "%Y%m%d");
    if (FirstLineHolds(kLogFileName, today)) {
        g_logFile = std::fopen(kLogFileName, "ab");
    } else {
        g_logFile = std::fopen(kLogFileName, "wb");
        if (g_logFile != nullptr) {
            std::fprintf(g_logFile, "[%s]\n", today.c_str());
            std::fflush(g_logFile);
        }
    }
    if (g_logFile == nullptr) {
        int error = errno;
        std::printf("%s文件打开失败\n", kLogFileName);
        std::fprintf(stderr, "open file: %s\n", std::strerror(error));
    }
}

void WriteLogEvent(int location, int code, std::string_view text) {
    const MisCilContext* context = MisCilGetContext();
    WriteLogEvent(context != nullptr ? &context->record : nullptr, location, code, text);
}

void WriteLogEvent(const TransRecord* record, int location, int code, std::string_view text) {
    std::lock_guard lock(g_logMutex);
    if (!IsMisCilCfgLoaded()) {
        std::printf("File:%s:::%d. gnLoadCfgFlag=%d.\n", "MISCIL", 205, 0);
    }
    std::string channel, txn, merchant, order, detail;
    if (record != nullptr) {
        channel = FieldValue(record->saChannelCode);
        txn = FieldValue(record->saTxnType);
        merchant = FieldValue(record->saMerCode);
        order = txn == TxnCode::Query ? FieldValue(record->saOrigOrderNum)
                                      : FieldValue(record->saOrderNum);
        detail = FieldValue(record->saErrDetail);
    }
    std::string clock = FormatLocalTime(CurrentClock().Now(), "%H:%M:%S");
    std::string info(text);
    std::FILE* out = Destination();
    std::fprintf(out,
                 "[%s][%04d] chn:%s, txn:%s, mer:%s, order:%s, errorDetail:%s, err:%2d, info:%s.\n",
                 clock.c_str(), location, channel.c_str(), txn.c_str(), merchant.c_str(),
                 order.c_str(), detail.c_str(), code, info.c_str());
    std::fflush(out);
}

void FlushExchangeLog() {
    std::lock_guard lock(g_logMutex);
    std::fflush(Destination());
}

void CloseExchangeLog() {
    std::lock_guard lock(g_logMutex);
    if (g_logFile != nullptr) std::fclose(g_logFile);
    g_logFile = nullptr;
}

}  // namespace zelvo
