#pragma once

namespace zelvo {

struct PrintSettings;

// Writes the print file to the device (or existing file) named by SerialPort: each line as
// GBK bytes followed by CR LF, which is what a Chinese receipt printer reads. A device that
// cannot be opened or written reports "打印失败"; a missing print file prints nothing, silently.
void PrintDriverless(const PrintSettings& settings);

}  // namespace zelvo
