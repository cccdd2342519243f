#include "FileErrorBox.h"

#include "FileError.h"
#include "MsgBox.h"

QString fileErrorDetails(const FileError& error) {
    return QStringLiteral("File: %1\nReason: %2")
        .arg(QString::fromLocal8Bit(error.path()), QString::fromLocal8Bit(error.reason()));
}

int showFileError(const QString& whatFailed, const FileError& error) {
    const QString text = QStringLiteral("%1\n\nFile: %2\nReason: %3")
                             .arg(whatFailed, QString::fromLocal8Bit(error.path()),
                                  QString::fromLocal8Bit(error.reason()));
    return MsgBox(text, MsgBoxStyle::Critical);
}
