#include "PrintTestSupport.h"

#include <fstream>

#include "print/PrintFailure.h"

namespace zelvo::test {

void WriteSlipFile(const std::filesystem::path& path, const std::vector<std::u16string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.put(static_cast<char>(0xFF));
    out.put(static_cast<char>(0xFE));
    for (const std::u16string& line : lines) {
        for (char16_t c : line + u"\r\n") {
            out.put(static_cast<char>(c & 0xFF));
            out.put(static_cast<char>(c >> 8));
        }
    }
}

RecordingFailureSink::RecordingFailureSink() {
    SetPrintFailureSink([this](const std::u16string& text) {
        std::lock_guard lock(m_mutex);
        m_texts.push_back(text);
        m_threads.push_back(std::this_thread::get_id());
    });
}

RecordingFailureSink::~RecordingFailureSink() {
    SetPrintFailureSink(nullptr);
}

std::vector<std::u16string> RecordingFailureSink::Texts() const {
    std::lock_guard lock(m_mutex);
    return m_texts;
}

std::vector<std::thread::id> RecordingFailureSink::Threads() const {
    std::lock_guard lock(m_mutex);
    return m_threads;
}

}  // namespace zelvo::test
