#include "Forms.h"

#include "FrmHelp.h"
#include "FrmMainMenu.h"
#include "FrmSplash.h"

#include <QApplication>

void quitProgram() {
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::quit();
}

void unloadAllForms() {
    FrmHelp::unload();
    FrmMainMenu::unload();
    FrmSplash::unload();
}
