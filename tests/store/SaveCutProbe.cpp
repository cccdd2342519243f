// Helper for the cut save tests: saves a version of the five settings files in a folder, and on
// entering one step of the save ends at once, as a crash would.
//   save_cut_probe FOLDER LINES STEP [OPTION...]
// exits 3 at step STEP (a number from 1, or KIND:N for the Nth step of a kind, as Rename:3);
// 0 when the save has fewer steps, 2 when it fails. Options:
//   version=V     saves version V (N when not given)
//   refuse=STEP   refuses every step of that kind (KeepOld, FlushFolder), as a failing system would
//   hold=FILE     at STEP, creates the file FILE and waits to be killed instead
//   linger        at STEP, becomes another program under the same process number (POSIX), as
//                 when a process number is taken again after a crash
#include "FileVersions.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#ifndef _WIN32
#include <unistd.h>
#endif

int main(int argc, char* argv[]) {
    if (argc < 4)
        return 2;
    const std::string cut = argv[3];
    const auto colon = cut.find(':');
    const long cutAt = std::atol(cut.c_str() + (colon == std::string::npos ? 0 : colon + 1));
    const std::string cutKind = colon == std::string::npos ? "" : cut.substr(0, colon);
    const char* const Kinds[] = {"Create", "Write",       "Flush",  "KeepOld",
                                 "Commit", "FlushFolder", "Rename", "Remove"};
    char version = 'N';
    std::string hold;
    [[maybe_unused]] bool linger = false;
    std::optional<SaveStep> refused;
    for (int i = 4; i < argc; ++i) {
        const std::string option = argv[i];
        if (option.starts_with("version="))
            version = option.back();
        else if (option.starts_with("hold="))
            hold = option.substr(5);
        else if (option == "linger")
            linger = true;
        else if (option == "refuse=KeepOld")
            refused = SaveStep::KeepOld;
        else if (option == "refuse=FlushFolder")
            refused = SaveStep::FlushFolder;
        else
            return 2;
    }
    long step = 0;
    try {
        FileVersions::saveVersion(
            argv[1], version, std::atoi(argv[2]), [&](SaveStep kind, const std::string&) {
                if (kind == refused)
                    return false;
                if (!cutKind.empty() && cutKind != Kinds[static_cast<int>(kind)])
                    return true;
                if (++step != cutAt)
                    return true;
                if (!hold.empty()) {
                    std::ofstream(hold) << "holding\n";
                    // A minute at most, should the test not kill it.
                    for (int i = 0; i < 600; ++i)
                        std::this_thread::sleep_for(std::chrono::milliseconds(100));
                }
#ifndef _WIN32
                if (linger)
                    ::execl("/bin/sleep", "sleep", "60", nullptr);
#endif
                std::_Exit(3);
            });
    } catch (const std::exception&) {
        return 2;
    }
    return 0;
}
