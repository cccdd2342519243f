#include "Forms.h"
#include "FrmSplash.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    FrmSplash::form().show();
    const int status = QApplication::exec();
    unloadAllForms();
    return status;
}
