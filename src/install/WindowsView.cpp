#include "install/WindowsView.h"

#include "files/FileError.h"
#include "platform/AsciiCase.h"
#include "platform/NativePath.h"

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
    const std::string place =
        (root == Registry::HKeyCurrentUser ? "HKCU\\" : "HKLM\\") + key + " " + value;
    std::optional<Registry::Value> read;
    try {
        read = registry_.readValue(root, view, key, value);
    } catch (const Registry::Unreadable& error) {
        search.skip(label(route), place, error.what());
        return std::nullopt;
    }
    const std::string folder = windowsForm(read && read->text ? *read->text : std::string());
    // A whole path names a drive or a \\server\share: nothing relative to a current folder.
    const bool whole = (folder.size() >= 3 && AsciiCase::isLetter(folder[0]) && folder[1] == ':' &&
                        folder[2] == '\\') ||
                       folder.starts_with("\\\\");
    if (whole)
        return folder;
    search.skip(label(route), place,
                !read                    ? "no such value"
                : read->type != "REG_SZ" ? "a " + read->type +
                                               " value, of a type not read (only "
                                               "REG_SZ is)"
                : !read->text    ? "a REG_SZ value that is not well-formed"
                : folder.empty() ? "the value is empty"
                                 : "\"" + folder + "\" is not a whole path");
    return std::nullopt;
}

std::string WindowsView::windowsForm(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

namespace {

bool hasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && AsciiCase::isLetter(path[0]);
}

} // namespace

const std::optional<std::string>& WindowsView::driveFolder(char letter) const {
    if (const auto known = drives_.find(letter); known != drives_.end())
        return known->second;
    // Wine links a drive to a folder ("../drive_c", "/"); one look at the link is enough.
    const std::filesystem::path drive = prefix_ + "/dosdevices/" + letter + ":";
    std::error_code error;
    std::optional<std::string> folder;
    if (std::filesystem::is_directory(drive, error)) {
        const auto target = std::filesystem::read_symlink(drive, error);
        folder = error ? drive.string()
                       : (target.is_absolute() ? target : drive.parent_path() / target)
                             .lexically_normal()
                             .string();
        while (folder->ends_with('/'))
            folder->pop_back(); // "/" (drive Z:) too: what follows starts with one
    }
    return drives_.emplace(letter, std::move(folder)).first->second;
}

std::optional<std::string> WindowsView::onDrive(const std::string& path) const {
    const auto& folder = driveFolder(AsciiCase::toLower(path[0]));
    if (!folder)
        return std::nullopt;
    std::string rest = path.substr(2);
    for (char& c : rest)
        if (c == '\\')
            c = '/';
    return *folder + (rest.starts_with('/') ? "" : "/") + rest;
}

std::string WindowsView::native(const std::string& path, NativePath::Listings& listings,
                                bool* onDisk) const {
    if (prefix_.empty())
        return NativePath::resolve(path, prefix_, &listings, onDisk);
    if (!hasDrive(path))
        return NativePath::resolve(path, prefix_, &listings, onDisk);
    const auto onLinux = onDrive(path);
    if (!onLinux)
        throw FileError(path, std::make_error_code(std::errc::no_such_device),
                        "drive " + std::string(1, AsciiCase::toUpper(path[0])) +
                            ": leads nowhere in the prefix's dosdevices");
    return NativePath::resolve(*onLinux, prefix_, &listings, onDisk);
}

std::string WindowsView::forPrograms(const std::string& folder) const {
    if (inUse_)
        return folder;
    // In another prefix: the drive's folder and the rest with '/'. The search matches the letter
    // case of what follows when it looks.
    const auto onLinux = hasDrive(folder) ? onDrive(folder) : std::nullopt;
    return onLinux ? *onLinux : NativePath::resolve(folder, prefix_);
}

std::string WindowsView::label(const std::string& route) const {
    return prefix_.empty() ? route : route + ", Wine prefix " + prefix_;
}

} // namespace InstallSearch
