#include "platform/SingleInstance.h"

#include "platform/Win32.h"

struct SingleInstance::Claim {
    explicit Claim(HANDLE mutex) : mutex(mutex) {}
    Claim(const Claim&) = delete;
    Claim& operator=(const Claim&) = delete;
    ~Claim() { CloseHandle(mutex); }
    HANDLE mutex;
};

SingleInstance::SingleInstance(const std::string& name) {
    // A mutex of the user's session; it lives while any process holds a handle to it.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, Win32::wide("Local\\" + name).c_str());
    if (!mutex)
        return;
    auto held = std::make_unique<Claim>(mutex);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        onlyInstance = false;
        return;
    }
    claim = std::move(held);
}

SingleInstance::~SingleInstance() = default;
