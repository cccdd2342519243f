#pragma once

class QLineEdit;
class QString;

// A typing limit that, unlike a plain maximum length, never cuts text the program puts into a
// box: a longer value from a settings file is shown whole and may be shortened, but typing
// never makes the text longer than the limit. The limit follows the text down as it shrinks.
void setTypingLimit(QLineEdit* box, int limit);

// Puts text into a box with a typing limit whole, however long it is.
void setTextWhole(QLineEdit* box, const QString& text);
