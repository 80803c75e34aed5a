// Starts, notes "started" in probe.log of the working directory, and restarts itself once.
// A copy refused by the single-instance lock notes "refused" instead.
#include <fstream>
#include <iterator>
#include <string>

#include <QCoreApplication>

#include "platform/InstanceLock.h"
#include "shell/Restart.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    auto lock = zelvo::AcquireInstanceLock("ZelvoRestartProbe");
    std::ifstream previous("probe.log");
    std::string log((std::istreambuf_iterator<char>(previous)), std::istreambuf_iterator<char>());
    std::ofstream out("probe.log", std::ios::app);
    if (!lock) {
        out << "refused\n";
        return 3;
    }
    out << "started\n";
    out.close();
    if (log.empty()) {
        zelvo::SetRestartInstanceLock(lock.get());
        zelvo::RestartApplication();
    }
    return 0;
}
