#include "widgets/EditBox.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QValidator>

namespace {

qsizetype firstLineBreak(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\r' || text[i] == u'\n')
            return i;
    return -1;
}

// Cuts what was just pasted, dropped or set at its first line break. The box held no line break
// before the change, so the first one lies in the inserted text, which ends at the cursor.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        const qsizetype lineBreak = firstLineBreak(input);
        if (lineBreak < 0)
            return Acceptable;
        const qsizetype insertedEnd = pos > lineBreak ? pos : input.size();
        input.remove(lineBreak, insertedEnd - lineBreak);
        pos = static_cast<int>(lineBreak);
        return Acceptable;
    }
};

} // namespace

namespace EditBox {

void keepToOneLine(QLineEdit* box) {
    box->setValidator(new OneLineValidator(box));
}

bool focusEntersFromAnotherControl(const QFocusEvent& event) {
    switch (event.reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason: // the program itself moved the focus there
        return true;
    default:
        return false; // back from a popup menu, a message box or another window
    }
}

} // namespace EditBox
