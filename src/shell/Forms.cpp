#include "Forms.h"

#include "FrmHelp.h"
#include "FrmLoadouts.h"
#include "FrmMainMenu.h"
#include "FrmOtherOptions.h"
#include "FrmSplash.h"

#include <QApplication>

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
