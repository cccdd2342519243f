// Helper for the cut save tests: saves version N of the five settings files in a folder, and on
// entering one step of the save ends at once, as a crash would.
//   save_cut_probe FOLDER LINES STEP        exits 3 at step STEP (from 1); 0 when the save has
//                                           fewer steps, 2 when it fails
//   save_cut_probe FOLDER LINES STEP HOLD   at step STEP, creates the file HOLD and waits to be
//                                           killed instead
#include "FileVersions.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

int main(int argc, char* argv[]) {
    if (argc < 4)
        return 2;
    const long cutAt = std::atol(argv[3]);
    long step = 0;
    try {
        FileVersions::saveVersionN(argv[1], std::atoi(argv[2]), [&](SaveStep, const std::string&) {
            if (++step != cutAt)
                return true;
            if (argc > 4) {
                std::ofstream(argv[4]) << "holding\n";
                for (int i = 0; i < 600; ++i) // a minute at most, should the test not kill it
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            std::_Exit(3);
        });
    } catch (const std::exception&) {
        return 2;
    }
    return 0;
}
