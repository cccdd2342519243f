#include "widgets/MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <deque>

namespace {

struct Recorder {
    bool recording = false;
    std::deque<int> answers;
    QList<MsgBoxTesting::Call> calls;
};

Recorder& recorder() {
    static Recorder instance;
    return instance;
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int answer;
};

QList<ButtonChoice> buttonsFor(int style) {
    switch (style & 0xF) {
    case MsgBoxStyle::OkCancel:
        return {{QMessageBox::Ok, MsgBoxAnswer::Ok}, {QMessageBox::Cancel, MsgBoxAnswer::Cancel}};
    case 2:
        return {{QMessageBox::Abort, 3}, {QMessageBox::Retry, 4}, {QMessageBox::Ignore, 5}};
    case MsgBoxStyle::YesNoCancel:
        return {{QMessageBox::Yes, MsgBoxAnswer::Yes},
                {QMessageBox::No, MsgBoxAnswer::No},
                {QMessageBox::Cancel, MsgBoxAnswer::Cancel}};
    case MsgBoxStyle::YesNo:
        return {{QMessageBox::Yes, MsgBoxAnswer::Yes}, {QMessageBox::No, MsgBoxAnswer::No}};
    case 5:
        return {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, MsgBoxAnswer::Cancel}};
    default:
        return {{QMessageBox::Ok, MsgBoxAnswer::Ok}};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & 0xF0) {
    case MsgBoxStyle::Critical:
        return QMessageBox::Critical;
    case MsgBoxStyle::Question:
        return QMessageBox::Question;
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int defaultIndex(int style, const QList<ButtonChoice>& choices) {
    return std::min<int>((style & 0xF00) / 256, static_cast<int>(choices.size()) - 1);
}

// The button Escape presses: Cancel where there is one, else No, else the only button. A
// question is never answered Yes by Escape.
const ButtonChoice* escapeChoice(const QList<ButtonChoice>& choices) {
    for (const int answer : {MsgBoxAnswer::Cancel, MsgBoxAnswer::No})
        for (const auto& choice : choices)
            if (choice.answer == answer)
                return &choice;
    return choices.size() == 1 ? &choices.front() : nullptr;
}

int defaultAnswer(int style) {
    const auto choices = buttonsFor(style);
    return choices[defaultIndex(style, choices)].answer;
}

int showBox(const QString& text, int style, const QString& title, const QString& details) {
    // A carriage return alone ends a line, as in a Windows message box; Qt draws it as a space
    // on some systems, so it is shown as a line feed. The text asked for stays as it was.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(iconFor(style), title, shown, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MsgBox"));
    if (!details.isEmpty())
        box.setDetailedText(details);
    const auto choices = buttonsFor(style);
    for (const auto& choice : choices)
        box.addButton(choice.button);
    const auto& defaultChoice = choices[defaultIndex(style, choices)];
    box.setDefaultButton(defaultChoice.button);
    const ButtonChoice* escape = escapeChoice(choices);
    if (escape)
        box.setEscapeButton(escape->button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& choice : choices)
        if (choice.button == clicked)
            return choice.answer;
    // Closed without a button: as Escape, else the default.
    return escape ? escape->answer : defaultChoice.answer;
}

} // namespace

int MsgBox(const QString& text, int style, const QString& title, const QString& details) {
    const QString shownTitle = title.isEmpty() ? AppTitle : title;
    auto& r = recorder();
    if (r.recording) {
        r.calls.append({text, style, shownTitle, details});
        if (r.answers.empty()) // unanswered: as if Enter pressed the default button
            return defaultAnswer(style);
        const int answer = r.answers.front();
        r.answers.pop_front();
        return answer;
    }
    return showBox(text, style, shownTitle, details);
}

namespace MsgBoxTesting {

void startRecording() {
    recorder() = Recorder{};
    recorder().recording = true;
}

void stopRecording() {
    recorder() = Recorder{};
}

void queueAnswer(int answer) {
    recorder().answers.push_back(answer);
}

QList<Call> takeCalls() {
    return std::exchange(recorder().calls, {});
}

} // namespace MsgBoxTesting
