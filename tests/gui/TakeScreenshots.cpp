// Takes the README's pictures of the program: starts its windows on the settings files of the
// Wine prefix that WINEPREFIX names, opens each one as a user would, and saves what the window
// shows (its client area, without the frame) as a PNG into the folder given as its argument.
// `make screenshots` runs it on a display of its own. Not a test: it checks only that each
// window appears.

#include "app/Forms.h"
#include "app/FrmHelp.h"
#include "app/FrmMainMenu.h"
#include "app/FrmSplash.h"
#include "loadouts/FrmLoadouts.h"
#include "options/FrmOtherOptions.h"
#include "store/Startup.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <functional>

namespace {

constexpr int WaitMs = 10000;

// Clicks a named button of a window, as the user would.
bool click(QWidget* window, const char* buttonName) {
    auto* button =
        window ? window->findChild<QPushButton*>(QString::fromLatin1(buttonName)) : nullptr;
    if (!button || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

using WindowGetter = std::function<QWidget*()>;

// Waits until the window exists, is on the screen and painted, and ready() holds.
QWidget* appears(
    const WindowGetter& window, const std::function<bool()>& ready = [] { return true; }) {
    QWidget* found = nullptr;
    const bool appeared = QTest::qWaitFor(
        [&] {
            found = window();
            return found && found->isVisible() && ready();
        },
        WaitMs);
    return appeared && QTest::qWaitForWindowExposed(found, WaitMs) ? found : nullptr;
}

// Saves what the window shows as <name>.png in the folder.
bool save(QWidget* window, const QDir& folder, const char* name) {
    const QString path = folder.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!window) {
        std::fprintf(stderr, "%s: the window did not appear\n", qPrintable(path));
        return false;
    }
    QTest::qWait(100); // lets the last paint of the window settle
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "%s: cannot write it\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "%s: cannot create the folder\n", argv[1]);
        return 1;
    }
    Startup::setLoadoutsReadHook(&FrmLoadouts::loadoutsFileRead);
    QApplication::setQuitOnLastWindowClosed(false);

    const auto splash = [] { return static_cast<QWidget*>(FrmSplash::existing()); };
    const auto menu = [] { return static_cast<QWidget*>(FrmMainMenu::existing()); };
    const auto loadouts = [] { return static_cast<QWidget*>(FrmLoadouts::existing()); };
    const auto options = [] { return static_cast<QWidget*>(FrmOtherOptions::existing()); };
    const auto help = [] { return static_cast<QWidget*>(FrmHelp::existing()); };
    // The main menu has found the files once its editor buttons are enabled.
    const auto filesFound = [] {
        auto* button =
            FrmMainMenu::existing()->findChild<QPushButton*>(QStringLiteral("cmdeditloadouts"));
        return button && button->isEnabled();
    };
    // The loadouts window fills its boxes a moment after it is shown.
    const auto loadoutsFilled = [] {
        auto* box = FrmLoadouts::existing()->findChild<QLineEdit*>(QStringLiteral("txtthief1"));
        return box && !box->text().isEmpty();
    };

    FrmSplash::form().show();
    const bool done =
        save(appears(splash), folder, "splash") &&
        save(appears(menu, filesFound), folder, "main-menu") && click(menu(), "cmdeditloadouts") &&
        save(appears(loadouts, loadoutsFilled), folder, "loadouts") &&
        click(loadouts(), "cmdexit") && appears(menu) && click(menu(), "cmdeditmisc") &&
        save(appears(options), folder, "other-options") && click(options(), "cmdexit") &&
        appears(menu) && click(menu(), "cmdhelp") && save(appears(help), folder, "help");
    unloadAllForms();
    return done ? 0 : 1;
}
