#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zelvo::test {

// Writes a print file as the slip composer does: FF FE, UTF-16LE, CR LF after each line.
void WriteSlipFile(const std::filesystem::path& path, const std::vector<std::u16string>& lines);

// Installs itself as the print failure sink and records what the jobs report, and on which
// thread; removes itself at the end of the scope.
class RecordingFailureSink {
public:
    RecordingFailureSink();
    ~RecordingFailureSink();
    RecordingFailureSink(const RecordingFailureSink&) = delete;
    RecordingFailureSink& operator=(const RecordingFailureSink&) = delete;

    std::vector<std::u16string> Texts() const;
    std::vector<std::thread::id> Threads() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::u16string> m_texts;
    std::vector<std::thread::id> m_threads;
};

}  // namespace zelvo::test
