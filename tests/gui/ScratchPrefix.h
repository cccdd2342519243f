#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace ScratchPrefixFiles {

// Copies the sample settings files into a folder, creating it.
inline QString withSampleFiles(const QString& folder) {
    QDir().mkpath(folder);
    for (const QString& name : QDir(QStringLiteral(QUILLON_EXAMPLES_DIR)).entryList(QDir::Files))
        QFile::copy(QStringLiteral(QUILLON_EXAMPLES_DIR "/") + name, folder + "/" + name);
    return folder;
}

} // namespace ScratchPrefixFiles

#ifndef Q_OS_WIN

// A Wine prefix of its own, named by WINEPREFIX while it exists: drive C: in drive_c, and a
// registry that names the game's install folder when one is given. HOME names an empty folder
// meanwhile, so that the search finds no game of the user's.
class ScratchPrefix {
public:
    ScratchPrefix() : saved(qgetenv("WINEPREFIX")), savedHome(qgetenv("HOME")) {
        QDir(dir.path()).mkpath(QStringLiteral("drive_c"));
        QDir(dir.path()).mkpath(QStringLiteral("dosdevices"));
        QFile::link(QStringLiteral("../drive_c"), dir.filePath(QStringLiteral("dosdevices/c:")));
        qputenv("WINEPREFIX", dir.path().toLocal8Bit());
        qputenv("HOME", home.path().toLocal8Bit());
    }
    ~ScratchPrefix() {
        qputenv("WINEPREFIX", saved);
        qputenv("HOME", savedHome);
    }
    ScratchPrefix(const ScratchPrefix&) = delete;
    ScratchPrefix& operator=(const ScratchPrefix&) = delete;

    // Records installFolder (a path below C:\, written with single backslashes) as the
    // game's install folder, as the game's installer does.
    void registerInstallFolder(const QString& installFolder) const {
        QString escaped = installFolder;
        escaped.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
        QFile reg(dir.filePath(QStringLiteral("system.reg")));
        if (!reg.open(QIODevice::WriteOnly))
            return;
        reg.write(
            "WINE REGISTRY Version 2\n"
            ";; All keys relative to \\\\Machine\n\n"
            "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament] 1700000000\n"
            "\"Folder\"=\"" +
            escaped.toUtf8() + "\"\n");
    }

    // A folder below drive C:, created, with the sample settings files copied into it.
    QString driveCFolderWithSampleFiles(const QString& relative) const {
        return ScratchPrefixFiles::withSampleFiles(
            dir.filePath(QStringLiteral("drive_c/") + relative));
    }

    // The home folder HOME names meanwhile.
    QString homeFolder() const { return home.path(); }

private:
    QTemporaryDir dir;
    QTemporaryDir home;
    QByteArray saved;
    QByteArray savedHome;
};

#else

// On Windows the suites run in a Wine prefix of the test run's own (scripts/test-windows.sh),
// so drive C: and the registry are the prefix's: this adds the game there as its installer
// would, and takes away again what it added.
class ScratchPrefix {
public:
    ScratchPrefix() = default;
    ~ScratchPrefix() {
        for (const QString& folder : addedFolders)
            QDir(folder).removeRecursively();
        HKEY software = nullptr;
        if (!addedKey.isEmpty() &&
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                          &software) == ERROR_SUCCESS) {
            RegDeleteTreeA(software, addedKey.constData());
            RegCloseKey(software);
        }
    }
    ScratchPrefix(const ScratchPrefix&) = delete;
    ScratchPrefix& operator=(const ScratchPrefix&) = delete;

    // Records installFolder as the game's install folder where the game's 32-bit installer does:
    // in the registry's 32-bit view, as UTF-16 text, so that any character survives.
    void registerInstallFolder(const QString& installFolder) const {
        // The first of the game's keys that is not there yet goes again, with all below it.
        HKEY key = nullptr;
        for (const char* path : {"Unreal Technology", "Unreal Technology\\Installed Apps",
                                 "Unreal Technology\\Installed Apps\\UnrealTournament"}) {
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (QByteArray("SOFTWARE\\") + path).constData(), 0,
                              KEY_READ | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
                RegCloseKey(key);
            } else if (addedKey.isEmpty()) {
                addedKey = path;
            }
        }
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                            "SOFTWARE\\Unreal Technology\\Installed Apps\\UnrealTournament", 0,
                            nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            qFatal("cannot create the game's registry key");
        const std::wstring text = installFolder.toStdWString();
        RegSetValueExW(key, L"Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    // A folder below drive C:, created, with the sample settings files copied into it.
    QString driveCFolderWithSampleFiles(const QString& relative) const {
        const QString top = QStringLiteral("C:/") + relative.section(QLatin1Char('/'), 0, 0);
        if (!QDir(top).exists())
            addedFolders.append(top);
        return ScratchPrefixFiles::withSampleFiles(QStringLiteral("C:/") + relative);
    }

private:
    mutable QStringList addedFolders;
    mutable QByteArray addedKey; // below SOFTWARE in the 32-bit view; empty when none was added
};

#endif
