#include "app/Forms.h"

#include "app/FrmHelp.h"
#include "app/FrmMainMenu.h"
#include "app/FrmSplash.h"
#include "loadouts/FrmLoadouts.h"
#include "options/FrmOtherOptions.h"
#include "widgets/MainMenuLink.h"

#include <QApplication>

namespace {

// The editors go back to the main menu through the kit's link; the app ties it to its main menu
// as the program (or a test of its windows) starts, before any editor can close.
const bool mainMenuLinked = [] {
    MainMenuLink::setShow([] { FrmMainMenu::form().show(); });
    return true;
}();

} // namespace

void quitProgram() {
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::quit();
}

void unloadAllForms() {
    FrmHelp::unload();
    FrmLoadouts::unload();
    FrmOtherOptions::unload();
    FrmMainMenu::unload();
    FrmSplash::unload();
}
