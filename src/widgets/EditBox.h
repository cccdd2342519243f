#pragma once

class QFocusEvent;
class QLineEdit;

// What the editors' text boxes share beyond their typing limits.
namespace EditBox {

// Keeps a box to one line, as a Windows single-line edit box does: text pasted or dropped into it
// keeps only what comes before its first CR or LF. A line break must never reach a settings file.
void keepToOneLine(QLineEdit* box);

// Whether the focus moved into a box from another control of its window (Tab, Shift+Tab, a
// click, a mnemonic, or the program moving it), as opposed to coming back to it from a context
// menu, a message box or another window, where the box must keep its cursor and selection.
bool focusEntersFromAnotherControl(const QFocusEvent& event);

} // namespace EditBox
