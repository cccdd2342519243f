#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// Runs check on the message box a call is about to show and wait on, once the box is up.
inline void whenBoxShows(std::function<void(QMessageBox*)> check) {
    QTimer::singleShot(50, [check] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            qWarning("no message box is showing");
            return;
        }
        check(box);
    });
}
