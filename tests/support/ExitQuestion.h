#pragma once

#include "widgets/MsgBox.h"

#include <QTest>

// Checks that the one message box shown since the last look was the editors' question about
// unsaved edits, as they ask it on "Exit".
inline void verifyAskedToSaveBeforeExiting() {
    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].text, QStringLiteral("Do you wish to save before exiting?"));
    QCOMPARE(calls[0].title, QStringLiteral("Changes not saved!"));
    QCOMPARE(calls[0].style, 275);
}
