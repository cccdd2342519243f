#include "app/FrmMainMenu.h"

#include "app/Forms.h"
#include "app/FrmHelp.h"
#include "install/GamePaths.h"
#include "install/SettingsFolder.h"
#include "loadouts/FrmLoadouts.h"
#include "options/FrmOtherOptions.h"
#include "store/Startup.h"
#include "widgets/Controls.h"
#include "widgets/EditBox.h"
#include "widgets/FileErrorBox.h"
#include "widgets/FormLayout.h"
#include "widgets/MsgBox.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

using namespace FormLayout;

namespace {

const QString CriticalErrorText =
    QStringLiteral("Cannot locate Quillon ini files!\r"
                   "Please enter the full path of your 'Unreal\\System\\' directory\r"
                   "N.B. You must include the final backslash(\\)");

} // namespace

FrmMainMenu::~FrmMainMenu() = default;

FrmMainMenu::FrmMainMenu() {
    setObjectName(QStringLiteral("FrmMainMenu"));
    setWindowTitle(AppCaption);
    setClientSizeTwips(this, 4680, 4560);

    Frame2 = Controls::makeFrame(this, "Frame2", QStringLiteral("Where is your Quillon?"),
                                 twipRect(120, 120, 4455, 855), timesFont(9.75));

    txtqldir = new QLineEdit(QStringLiteral("{Your Unreal Tournament dir here}"), Frame2);
    txtqldir->setObjectName(QStringLiteral("txtqldir"));
    EditBox::keepToOneLine(txtqldir);
    txtqldir->setGeometry(twipRect(120, 360, 3615, 315));
    txtqldir->setToolTip(
        QStringLiteral("Type your full Unreal Tournament path in here e.g. 'C:\\UnrealTournament"));
    // The box has no caption of its own: the frame's question says what it is for.
    Controls::nameControl(txtqldir, Frame2->title());

    cmdsetqldir = Controls::makeButton(Frame2, "cmdsetqldir", QStringLiteral("Set"),
                                       twipRect(3840, 360, 495, 375), timesFont(9.75));
    cmdsetqldir->setToolTip(
        QStringLiteral("Hit this once you've typed in your Unreal Tournament path."));

    Frame1 = Controls::makeFrame(this, "Frame1", QStringLiteral("What would you like to do?"),
                                 twipRect(120, 1080, 4455, 3375), timesFont(12, true));

    cmdeditloadouts =
        Controls::makeButton(Frame1, "cmdeditloadouts", QStringLiteral("Edit My Loadouts"),
                             twipRect(240, 480, 3855, 495), timesFont(9.75));
    cmdeditmisc = Controls::makeButton(Frame1, "cmdeditmisc", QStringLiteral("Edit Other Options"),
                                       twipRect(240, 1200, 3855, 495), timesFont(9.75));
    cmdhelp = Controls::makeButton(Frame1, "cmdhelp", QStringLiteral("Help!"),
                                   twipRect(240, 1920, 3855, 495), timesFont(9.75, true));
    cmdquit = Controls::makeButton(Frame1, "cmdquit", QStringLiteral("Quit"),
                                   twipRect(240, 2640, 3855, 495), timesFont(9.75, true));
    cmdeditloadouts->setEnabled(false);
    cmdeditmisc->setEnabled(false);

    setTabOrder(txtqldir, cmdsetqldir);
    setTabOrder(cmdsetqldir, cmdeditloadouts);
    setTabOrder(cmdeditloadouts, cmdeditmisc);
    setTabOrder(cmdeditmisc, cmdhelp);
    setTabOrder(cmdhelp, cmdquit);
    txtqldir->setFocus();

    connect(cmdsetqldir, &QPushButton::clicked, this, &FrmMainMenu::cmdsetqldir_Click);
    connect(cmdeditloadouts, &QPushButton::clicked, this, &FrmMainMenu::cmdeditloadouts_Click);
    connect(cmdeditmisc, &QPushButton::clicked, this, &FrmMainMenu::cmdeditmisc_Click);
    connect(cmdhelp, &QPushButton::clicked, this, &FrmMainMenu::cmdhelp_Click);
    connect(cmdquit, &QPushButton::clicked, this, &FrmMainMenu::cmdquit_Click);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(50);
    connect(&Timer1, &QTimer::timeout, this, &FrmMainMenu::Timer1_Timer);
    Timer1.start();

    centreOnScreen(this);
}

void FrmMainMenu::Timer1_Timer() {
    Timer1.stop();
    LastSearch = InstallSearch::search(Startup::InstallFolder);
    if (LastSearch.systemDir.empty())
        return; // the user is to type the folder
    // The settings files the folder the game reads lacks are read from the install, as the game
    // reads them, and copied there by the first save.
    Startup::SystemDir = LastSearch.systemDir;
    Startup::GameSystemDir =
        LastSearch.installDir == LastSearch.systemDir ? "" : LastSearch.installDir;
    if (loadSettingsFiles())
        enterFoundState();
}

void FrmMainMenu::cmdsetqldir_Click() {
    Startup::SystemDir = GamePaths::normaliseTypedPath(txtqldir->text().toUtf8().toStdString());
    Startup::GameSystemDir.clear();
    if (loadSettingsFiles())
        enterFoundState();
}

bool FrmMainMenu::loadSettingsFiles() {
    try {
        Startup::LoadIniFiles();
    } catch (const std::exception& error) {
        MsgBox(CriticalErrorText, MsgBoxStyle::OkOnly, QStringLiteral("Critical Error!"),
               errorDetails(error));
        return false;
    }
    // Said now, before any edit, rather than when a save fails.
    try {
        SettingsFolder::refuseUnwritable(Startup::SystemDir);
    } catch (const std::exception& error) {
        MsgBox(QStringLiteral("Your settings can be read but not saved: this program cannot write "
                              "in the folder that holds them.\n\n") +
                   errorDetails(error),
               MsgBoxStyle::Exclamation);
    }
    return true;
}

void FrmMainMenu::enterFoundState() {
    cmdeditloadouts->setEnabled(true);
    cmdeditmisc->setEnabled(true);
    cmdsetqldir->setEnabled(false);
    // Folder names are UTF-8 inside the program: every character shows as it is spelt. A folder
    // longer than the box shows its end there, and whole in the box's tip (the typing hint no
    // longer applies to a box that is off).
    const QString folder = QString::fromStdString(Startup::SystemDir);
    txtqldir->setText(folder);
    txtqldir->setToolTip(folder);
    txtqldir->setEnabled(false);
}

void FrmMainMenu::cmdeditloadouts_Click() {
    if (FrmLoadouts::form().showForEditing())
        hide();
}

void FrmMainMenu::cmdeditmisc_Click() {
    FrmOtherOptions::form().show();
    hide();
}

void FrmMainMenu::cmdhelp_Click() {
    FrmHelp& help = FrmHelp::form();
    help.show();
    help.raise();
    help.activateWindow();
}

void FrmMainMenu::cmdquit_Click() {
    quitProgram();
}

void FrmMainMenu::closeEvent(QCloseEvent* event) {
    // Closing the main menu by its frame is Quit.
    event->accept();
    cmdquit_Click();
}
