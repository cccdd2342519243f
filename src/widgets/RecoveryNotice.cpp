#include "widgets/RecoveryNotice.h"

#include "widgets/MsgBox.h"

void tellRecoveryNotes(const std::vector<std::string>& notes) {
    QString text = QStringLiteral("A save of the settings files was cut short before it finished "
                                  "(the program or the computer stopped). It has been dealt with:");
    for (const auto& note : notes)
        text += QStringLiteral("\n\n") + QString::fromStdString(note);
    MsgBox(text, MsgBoxStyle::Exclamation);
}
