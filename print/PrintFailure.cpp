#include "print/PrintFailure.h"

#include <cstdio>
#include <memory>
#include <mutex>

#include "base/CodePage.h"

namespace zelvo {
namespace {

std::mutex g_sinkMutex;
std::shared_ptr<const PrintFailureSink> g_sink;

}  // namespace

void SetPrintFailureSink(PrintFailureSink sink) {
    auto replacement = sink ? std::make_shared<const PrintFailureSink>(std::move(sink)) : nullptr;
    std::lock_guard lock(g_sinkMutex);
    g_sink = std::move(replacement);
}

void ReportPrintFailure(const std::u16string& text) {
    std::shared_ptr<const PrintFailureSink> sink;
    {
        std::lock_guard lock(g_sinkMutex);
        sink = g_sink;
    }
    // The sink may block on a modal dialog, so it runs outside the lock.
    if (sink) {
        (*sink)(text);
    } else {
        std::fprintf(stderr, "%s\n", Utf16ToUtf8(text).c_str());
    }
}

}  // namespace zelvo
