#include "Forms.h"

#include "FrmLoadouts.h"
#include "FrmMainMenu.h"
#include "FrmOtherOptions.h"

#include <QApplication>

void quitProgram() {
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::quit();
}

void unloadAllForms() {
    FrmLoadouts::unload();
    FrmOtherOptions::unload();
    FrmMainMenu::unload();
}
