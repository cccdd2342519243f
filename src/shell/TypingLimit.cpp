#include "TypingLimit.h"

#include <QLineEdit>
#include <algorithm>

namespace {

const char* const TypingLimitProperty = "typingLimit";

// The box takes at most the limit, or the length of longer text it already holds.
void allowLength(QLineEdit* box, qsizetype textLength) {
    const int limit = box->property(TypingLimitProperty).toInt();
    box->setMaxLength(static_cast<int>(std::max<qsizetype>(limit, textLength)));
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
}
