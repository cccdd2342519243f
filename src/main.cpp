#include "Forms.h"
#include "FrmMainMenu.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    FrmMainMenu::form().show();
    const int status = QApplication::exec();
    unloadAllForms();
    return status;
}
