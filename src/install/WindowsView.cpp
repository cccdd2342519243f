#include "WindowsView.h"

#include "AsciiCase.h"
#include "NativePath.h"

#include <filesystem>

namespace InstallSearch {

WindowsView::WindowsView(std::string prefix, bool inUse)
    : prefix_(std::move(prefix)), inUse_(inUse), registry_(prefix_) {}

WindowsView WindowsView::thisSystem() {
    return WindowsView(NativePath::winePrefix(), true);
}

WindowsView WindowsView::otherPrefix(const std::string& prefix) {
    return WindowsView(prefix, false);
}

std::optional<std::string> WindowsView::registryFolder(Search& search, const std::string& route,
                                                       Registry::RootKey root, Registry::View view,
                                                       const std::string& key,
                                                       const std::string& value) {
    const std::string folder = windowsForm(registry_.readString(root, view, key, value));
    // A whole path names a drive or a \\server\share: nothing relative to a current folder.
    const bool whole = (folder.size() >= 3 && AsciiCase::isLetter(folder[0]) && folder[1] == ':' &&
                        folder[2] == '\\') ||
                       folder.starts_with("\\\\");
    if (!whole) {
        const std::string rootName = root == Registry::HKeyCurrentUser ? "HKCU\\" : "HKLM\\";
        search.skip(label(route), rootName + key + " " + value,
                    folder.empty() ? "no such value" : "\"" + folder + "\" is not a whole path");
        return std::nullopt;
    }
    return folder;
}

std::string WindowsView::windowsForm(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::optional<std::string> WindowsView::native(const std::string& path, std::string& why) const {
    if (prefix_.empty())
        return path;
    // A drive that the prefix lacks, or whose link leads to nothing mounted, holds nothing.
    if (path.size() >= 2 && path[1] == ':' && AsciiCase::isLetter(path[0])) {
        std::error_code error;
        const std::string drive = std::string(1, AsciiCase::toLower(path[0])) + ":";
        if (!std::filesystem::exists(prefix_ + "/dosdevices/" + drive, error)) {
            why = "drive " + std::string(1, AsciiCase::toUpper(path[0])) +
                  ": leads nowhere in the prefix's dosdevices";
            return std::nullopt;
        }
    }
    return NativePath::resolve(path, prefix_);
}

std::string WindowsView::forPrograms(const std::string& folder) const {
    if (inUse_)
        return folder;
    // In another prefix: the drive's real folder (its link in dosdevices followed, so that the
    // folder reads as where it is: .../drive_c/...) and the rest with '/'. The search matches the
    // letter case of what follows when it looks.
    if (folder.size() < 2 || folder[1] != ':' || !AsciiCase::isLetter(folder[0]))
        return NativePath::resolve(folder, prefix_);
    const char letter = AsciiCase::toLower(folder[0]);
    auto real = drives_.find(letter);
    if (real == drives_.end()) {
        const std::string drive = prefix_ + "/dosdevices/" + std::string(1, letter) + ":";
        // Wine links a drive to a folder ("../drive_c", "/"); one look at the link is enough.
        std::error_code error;
        const auto target = std::filesystem::read_symlink(drive, error);
        const auto path =
            target.is_absolute() ? target : std::filesystem::path(drive).parent_path() / target;
        real = drives_.emplace(letter, error ? drive : path.lexically_normal().string()).first;
    }
    std::string rest = folder.substr(2);
    for (char& c : rest)
        if (c == '\\')
            c = '/';
    if (!rest.starts_with('/'))
        rest.insert(0, 1, '/');
    return (real->second.ends_with('/') ? real->second.substr(0, real->second.size() - 1)
                                        : real->second) +
           rest;
}

std::string WindowsView::label(const std::string& route) const {
    return prefix_.empty() ? route : route + ", Wine prefix " + prefix_;
}

} // namespace InstallSearch
