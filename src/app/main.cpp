#include "app/Forms.h"
#include "app/FrmSplash.h"
#include "loadouts/FrmLoadouts.h"
#include "store/Startup.h"
#include "widgets/ChangedFilesQuestion.h"
#include "widgets/GameRunningQuestion.h"
#include "widgets/RecoveryNotice.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillon-tool.ico")));
    Startup::setLoadoutsReadHook(&FrmLoadouts::loadoutsFileRead);
    Startup::setChangedFilesQuestion(&askToReplaceChangedFiles);
    Startup::setGameRunningQuestion(&askToSaveWhileTheGameRuns);
    Startup::setRecoveryNotice(&tellRecoveryNotes);
    QApplication::setQuitOnLastWindowClosed(false);
    FrmSplash::form().show();
    const int status = QApplication::exec();
    unloadAllForms();
    return status;
}
