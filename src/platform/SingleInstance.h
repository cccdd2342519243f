#pragma once

#include <memory>
#include <string>

// Makes sure only one copy of the program runs for a user. The claim is held by an object of
// the operating system (a named mutex on Windows, a lock on a file in the user's runtime folder
// elsewhere) that the system releases however the process ends, so a copy that crashed or was
// killed never blocks the next start.
class SingleInstance {
public:
    // The name the program claims.
    static constexpr const char* ProgramName = "BrackensQuillonTool";

    // Claims name for this process. When the claim cannot even be attempted (no folder for
    // the lock file, say) the process counts as the only copy: better two copies than none.
    explicit SingleInstance(const std::string& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another running process held the name already.
    bool isOnlyInstance() const { return onlyInstance; }

private:
    struct Claim; // the system object, one kind per platform
    std::unique_ptr<Claim> claim;
    bool onlyInstance = true;
};
