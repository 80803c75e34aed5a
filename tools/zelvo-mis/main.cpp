#include <unistd.h>

#include <iostream>
#include <sstream>
#include <string>

#include "tools/zelvo-mis/MisCommand.h"

int main(int argc, char** argv) {
    // Standard output carries only the answer: whatever the library prints goes to standard
    // error instead.
    std::fflush(stdout);
    int answerFd = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);

    std::ostringstream answer;
    int rc = zelvo::RunMisCommand(argc, argv, std::cin, answer, std::cerr);
    std::fflush(stdout);
    std::string bytes = answer.str();
    size_t written = 0;
    while (answerFd >= 0 && written < bytes.size()) {
        ssize_t n = write(answerFd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) return 1;
        written += static_cast<size_t>(n);
    }
    return rc;
}
