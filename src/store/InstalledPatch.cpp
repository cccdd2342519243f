#include "store/InstalledPatch.h"

#include "platform/FileSearch.h"

namespace InstalledPatch {

bool readsUtf8(const std::string& systemDir) {
    for (const char* driver : {"Cluster.dll", "Cluster.so"})
        if (FileSearch::holdsPlainFile(systemDir, driver))
            return true;
    return false;
}

} // namespace InstalledPatch
