#pragma once

#include <functional>
#include <string>

namespace zelvo {

// The failure dialogs of a print job.
inline constexpr char16_t kPrintDeviceFailed[] = u"打印失败";
inline constexpr char16_t kSelectPrinterFailed[] = u"选择打印机失败！";
inline constexpr char16_t kPrintDocumentFailed[] = u"打印失败了";

// Shows a failure to the operator. Called on the job's worker thread: the application's sink
// must hand the dialog to its user-interface thread and may block until it is closed.
using PrintFailureSink = std::function<void(const std::u16string& text)>;

// Replaces the sink (none installed: failures go to the standard error stream).
void SetPrintFailureSink(PrintFailureSink sink);

// Called by the job; safe from any thread, also while the sink is being replaced.
void ReportPrintFailure(const std::u16string& text);

}  // namespace zelvo
