#include "widgets/GameRunningQuestion.h"

#include "widgets/MsgBox.h"

QString gameRunningQuestionText(const GameProcess::Running& game) {
    return QStringLiteral("%1 is running from this System folder. The game reads these settings "
                          "only when it starts, and it may write its own over them when it "
                          "closes.\n\nSave anyway?")
        .arg(QString::fromStdString(game.program));
}

bool askToSaveWhileTheGameRuns(const GameProcess::Running& game) {
    return MsgBox(gameRunningQuestionText(game),
                  MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation | MsgBoxStyle::DefaultButton2) ==
           MsgBoxAnswer::Yes;
}
