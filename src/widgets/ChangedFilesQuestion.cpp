#include "widgets/ChangedFilesQuestion.h"

#include "widgets/MsgBox.h"

QString changedFilesQuestionText(const std::vector<std::string>& fileNames) {
    QString names;
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        if (i > 0)
            names += i + 1 == fileNames.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
        names += QString::fromStdString(fileNames[i]);
    }
    const bool one = fileNames.size() == 1;
    return QStringLiteral("%1 %2 been changed by another program since %3 loaded (the game writes "
                          "its settings when it closes). Replace %4 with the settings shown here?")
        .arg(names, one ? QStringLiteral("has") : QStringLiteral("have"),
             one ? QStringLiteral("it was") : QStringLiteral("they were"),
             one ? QStringLiteral("it") : QStringLiteral("them"));
}

bool askToReplaceChangedFiles(const std::vector<std::string>& fileNames) {
    return MsgBox(changedFilesQuestionText(fileNames),
                  MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation) == MsgBoxAnswer::Yes;
}
