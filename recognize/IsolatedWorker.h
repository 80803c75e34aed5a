#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace zelvo {

// Runs `work` in a child process of this one, started at the first request and kept for the
// requests after it. The recogniser can abort the whole process on some lines (an assertion
// inside Tesseract with two languages loaded); in a child, that costs one reading, not the till.
// A child made for each reading cost two thirds of a capture in copying the models' pages on
// first write; a kept child has them copied once.
//
// The child keeps no descriptor of this process but its channel, so a connection or file this
// process closes is closed, and it ends when this process is gone. It is started afresh after a
// reading it died in or outlived, and after `kReadingsPerChild` readings, so that what
// the recogniser may keep from line to line stays bounded. Where no child can be started, `work`
// runs here.
class IsolatedWorker {
public:
    using Work = std::function<std::optional<std::string>(const std::string& request)>;

    static constexpr int kReadingsPerChild = 500;

    explicit IsolatedWorker(Work work);
    ~IsolatedWorker();
    IsolatedWorker(const IsolatedWorker&) = delete;
    IsolatedWorker& operator=(const IsolatedWorker&) = delete;

    // What `work` returned for `request` in the child; none when it returned none, failed, died
    // or outlived `limit`.
    std::optional<std::string> Run(const std::string& request, std::chrono::milliseconds limit);

private:
    bool Start();
    void Stop();
    std::optional<std::string> Answer(std::chrono::steady_clock::time_point end);

    Work m_work;
    pid_t m_child = -1;
    int m_channel = -1;
    int m_readings = 0;
};

}  // namespace zelvo
