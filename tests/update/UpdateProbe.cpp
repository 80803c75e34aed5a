// Stands in for a new version of the cashier: notes the mark it was built with in
// "probe-ran.txt" of the working directory, so a test can see which program ran.
#include <fstream>

int main() {
    std::ofstream("probe-ran.txt", std::ios::app) << "probe ran\n";
    return 0;
}
