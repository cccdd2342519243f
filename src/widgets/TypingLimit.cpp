#include "widgets/TypingLimit.h"

#include <QLineEdit>
#include <algorithm>

namespace {

const char* const TypingLimitProperty = "typingLimit";

// The box takes at most the limit, or the length of longer text it already holds.
void allowLength(QLineEdit* box, qsizetype textLength) {
    const int limit = box->property(TypingLimitProperty).toInt();
    const int allowed = static_cast<int>(std::max<qsizetype>(limit, textLength));
    if (box->maxLength() == allowed)
        return;
    // A new maximum re-sets the text, which puts the cursor at the end and drops the selection:
    // put them back, so that typing or deleting inside a name carries on where it was.
    const int cursor = box->cursorPosition();
    const int selectionStart = box->selectionStart();
    const int selectionEnd = box->selectionEnd();
    box->setMaxLength(allowed);
    if (selectionStart < 0)
        box->setCursorPosition(cursor);
    else if (cursor == selectionStart)
        box->setSelection(selectionEnd, selectionStart - selectionEnd);
    else
        box->setSelection(selectionStart, selectionEnd - selectionStart);
}

} // namespace

void setTypingLimit(QLineEdit* box, int limit) {
    box->setProperty(TypingLimitProperty, limit);
    allowLength(box, box->text().size());
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [box](const QString& text) { allowLength(box, text.size()); });
}

void setTextWhole(QLineEdit* box, const QString& text) {
    allowLength(box, text.size());
    box->setText(text);
    // A Windows box filled by a program shows the start of a text longer than itself.
    box->setCursorPosition(0);
}
