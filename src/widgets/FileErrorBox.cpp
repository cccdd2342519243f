#include "widgets/FileErrorBox.h"

#include "files/FileError.h"
#include "widgets/MsgBox.h"

QString errorDetails(const std::exception& error) {
    if (const auto* fileError = dynamic_cast<const FileError*>(&error))
        return QStringLiteral("File: %1\nReason: %2")
            .arg(QString::fromStdString(fileError->path()),
                 QString::fromStdString(fileError->reason()));
    return QString::fromStdString(error.what());
}

int showError(const QString& whatFailed, const std::exception& error) {
    return MsgBox(whatFailed + QStringLiteral("\n\n") + errorDetails(error), MsgBoxStyle::Critical);
}
