// Helper for the single instance tests: claims the name given as the first argument.
//   single_instance_probe NAME          exits 0 when it was the only instance, 3 when not
//   single_instance_probe NAME READY    as well, when it was the only one, creates the file
//                                       READY and keeps the claim until it is killed
#include "platform/SingleInstance.h"

#include <chrono>
#include <fstream>
#include <thread>

int main(int argc, char* argv[]) {
    if (argc < 2)
        return 2;
    const SingleInstance instance(argv[1]);
    if (!instance.isOnlyInstance())
        return 3;
    if (argc >= 3) {
        std::ofstream(argv[2]) << "holding\n";
        for (int i = 0; i < 600; ++i) // a minute at most, should the test fail to kill it
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
}
