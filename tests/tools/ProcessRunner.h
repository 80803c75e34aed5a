#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace zelvo::test {

// Runs a program to its end with `input` on standard input.
struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input);

// A program left running, its standard output readable line by line.
class BackgroundProcess {
public:
    explicit BackgroundProcess(const std::vector<std::string>& argv);
    ~BackgroundProcess();  // ends it with SIGKILL if it still runs

    // The next line of its standard output; empty at its end or after `timeoutMs`.
    std::string ReadLine(int timeoutMs = 5000);
    // Sends `signal` and waits for the exit; the exit code, or -1 when it did not exit normally.
    // Once it has ended by itself, only its exit code is collected.
    int Stop(int signal);
    // True while it runs.
    bool Running();

private:
    pid_t m_pid = -1;
    std::optional<int> m_endStatus;
    int m_out = -1;
    std::string m_pending;
};

}  // namespace zelvo::test
