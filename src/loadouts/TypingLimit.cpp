#include "TypingLimit.h"

#include <QLineEdit>
#include <algorithm>

TypingLimit::TypingLimit(QLineEdit* box, int limit)
    : QValidator(box), box_(box), limit_(limit),
      allowed_(std::max<int>(limit, box->text().size())) {
    box->setValidator(this);
    connect(box, &QLineEdit::textChanged, this,
            [this](const QString& text) { allowed_ = std::max<int>(limit_, text.size()); });
}

void TypingLimit::setText(const QString& text) {
    // The box validates the new text as it takes it; allow its length first so that the next
    // edit is checked against this text and not refused or let through by a stale state.
    allowed_ = std::max<int>(limit_, text.size());
    box_->setText(text);
}

QValidator::State TypingLimit::validate(QString& input, int& /*pos*/) const {
    return input.size() <= allowed_ ? Acceptable : Invalid;
}
