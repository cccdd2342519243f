#pragma once

#include <QList>
#include <QString>

// Every message box of the program goes through MsgBox. Its style is made of the familiar
// flags, so a style reads as a number: 0 is OK alone, 275 is Yes/No/Cancel with the critical
// icon and No as the default button.
namespace MsgBoxStyle {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
} // namespace MsgBoxStyle

namespace MsgBoxAnswer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MsgBoxAnswer

// The title of message boxes that give none of their own.
inline const QString AppTitle = QStringLiteral("Brackens' Quillon Tools");

// Shows a modal message box over the active window and returns the answer. An empty title
// means the application title. Details (a file's path and the system's reason, say) go into
// the box's expandable details, so the text itself stays exactly as given.
int MsgBox(const QString& text, int style = MsgBoxStyle::OkOnly, const QString& title = {},
           const QString& details = {});

// Lets tests answer message boxes without showing them, and see what was asked.
namespace MsgBoxTesting {

struct Call {
    QString text;
    int style = 0;
    QString title; // as shown, the application title filled in
    QString details;
};

// Starts recording every call. While recording nothing is shown: each call returns the next
// queued answer, or when none is queued the answer of the style's default button.
void startRecording();
// Stops recording, forgets what was recorded and drops answers still queued.
void stopRecording();
// The next MsgBox call returns this answer without showing anything.
void queueAnswer(int answer);
// The calls since recording started or since the last take.
QList<Call> takeCalls();

} // namespace MsgBoxTesting
