#include "tests/tools/ProcessRunner.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

namespace zelvo::test {
namespace {

std::vector<char*> Argv(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

std::string ReadAll(int fd) {
    std::string text;
    char chunk[4096];
    for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;) text.append(chunk, got);
    return text;
}

int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input) {
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        std::vector<char*> args = Argv(argv);
        execv(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    // The input is small: it fits the pipe before the child reads it.
    if (!input.empty()) (void)!write(in[1], input.data(), input.size());
    close(in[1]);
    ProcessResult result;
    std::thread errReader([&] { result.err = ReadAll(err[0]); });
    result.out = ReadAll(out[0]);
    errReader.join();
    close(out[0]);
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = ExitCodeOf(status);
    return result;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv) {
    int out[2];
    if (pipe(out) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> args = Argv(argv);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    m_out = out[0];
}

BackgroundProcess::~BackgroundProcess() {
    if (m_pid > 0) Stop(SIGKILL);
    if (m_out >= 0) close(m_out);
}

std::string BackgroundProcess::ReadLine(int timeoutMs) {
    for (;;) {
        size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return line;
        }
        pollfd readable{m_out, POLLIN, 0};
        if (poll(&readable, 1, timeoutMs) <= 0) return {};
        char chunk[512];
        ssize_t got = read(m_out, chunk, sizeof chunk);
        if (got <= 0) return {};
        m_pending.append(chunk, static_cast<size_t>(got));
    }
}

bool BackgroundProcess::Running() {
    if (m_pid <= 0) return false;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == 0) return true;
    m_endStatus = status;
    m_pid = -1;
    return false;
}

int BackgroundProcess::Stop(int signal) {
    if (m_endStatus) return ExitCodeOf(*m_endStatus);
    if (m_pid <= 0) return -1;
    kill(m_pid, signal);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return ExitCodeOf(status);
}

}  // namespace zelvo::test
