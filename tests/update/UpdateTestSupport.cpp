#include "tests/update/UpdateTestSupport.h"

#include <fstream>

#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "tests/support/TestSupport.h"

namespace zelvo::test {

std::string ProbeProgram(const std::string& mark) {
    return ReadFile(UPDATE_PROBE) + "\n" + mark + "\n";
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool IsRunnable(const std::filesystem::path& path) {
    return access(path.c_str(), X_OK) == 0;
}

bool PumpUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        usleep(20 * 1000);
    }
    return done();
}

}  // namespace zelvo::test
