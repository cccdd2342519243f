#include "Forms.h"

#include "FrmMainMenu.h"
#include "FrmOtherOptions.h"

#include <QApplication>

void quitProgram() {
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::quit();
}

void unloadAllForms() {
    FrmOtherOptions::unload();
    FrmMainMenu::unload();
}
