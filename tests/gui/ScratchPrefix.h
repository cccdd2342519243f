#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A Wine prefix of its own, named by WINEPREFIX while it exists: drive C: in drive_c, and a
// registry that names the game's install folder when one is given.
class ScratchPrefix {
public:
    ScratchPrefix() : saved(qgetenv("WINEPREFIX")) {
        QDir(dir.path()).mkpath(QStringLiteral("drive_c"));
        QDir(dir.path()).mkpath(QStringLiteral("dosdevices"));
        QFile::link(QStringLiteral("../drive_c"), dir.filePath(QStringLiteral("dosdevices/c:")));
        qputenv("WINEPREFIX", dir.path().toLocal8Bit());
    }
    ~ScratchPrefix() { qputenv("WINEPREFIX", saved); }
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
        const QString folder = dir.filePath(QStringLiteral("drive_c/") + relative);
        QDir().mkpath(folder);
        for (const QString& name :
             QDir(QStringLiteral(QUILLON_EXAMPLES_DIR)).entryList(QDir::Files))
            QFile::copy(QStringLiteral(QUILLON_EXAMPLES_DIR "/") + name, folder + "/" + name);
        return folder;
    }

private:
    QTemporaryDir dir;
    QByteArray saved;
};
