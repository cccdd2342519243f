#pragma once

#include <QValidator>

class QLineEdit;

// A typing limit that, unlike QLineEdit's maximum length, never cuts text put into the box by the
// program: a longer value from a settings file is shown whole and may be shortened, but no edit
// makes the text longer than the limit.
class TypingLimit : public QValidator {
    Q_OBJECT

public:
    // Installs itself as the box's validator; the box owns it.
    TypingLimit(QLineEdit* box, int limit);

    // Puts the text into the box whole, however long it is.
    void setText(const QString& text);

    State validate(QString& input, int& pos) const override;

    int limit() const { return limit_; }

private:
    QLineEdit* box_;
    int limit_;
    int allowed_; // the limit, or the length of longer text the box already holds
};
