#include "ChangedFilesQuestion.h"
#include "Forms.h"
#include "FrmLoadouts.h"
#include "FrmSplash.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Startup::setLoadoutsReadHook(&FrmLoadouts::loadoutsFileRead);
    Startup::setChangedFilesQuestion(&askToReplaceChangedFiles);
    QApplication::setQuitOnLastWindowClosed(false);
    FrmSplash::form().show();
    const int status = QApplication::exec();
    unloadAllForms();
    return status;
}
