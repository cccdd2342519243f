#pragma once

#include "install/InstallSearch.h"
#include "widgets/FormInstance.h"

#include <QTimer>
#include <QWidget>

#include <string>

class QGroupBox;
class QLineEdit;
class QPushButton;

// The hub: finds the game's System folder, loads the settings files from it, and opens the
// editors and the help window.
class FrmMainMenu : public QWidget {
    Q_OBJECT
    friend class FormInstance<FrmMainMenu>;

public:
    // The one main menu, created on first use.
    static FrmMainMenu& form() { return FormInstance<FrmMainMenu>::get(); }
    // The main menu if it exists.
    static FrmMainMenu* existing() { return FormInstance<FrmMainMenu>::existing(); }
    // Destroys the main menu.
    static void unload() { FormInstance<FrmMainMenu>::unload(); }

    ~FrmMainMenu() override;

    // What the automatic search looked at, filled when it runs.
    const InstallSearch::Result& lastSearch() const { return LastSearch; }

public slots:
    void Timer1_Timer();
    void cmdsetqldir_Click();
    void cmdeditloadouts_Click();
    void cmdeditmisc_Click();
    void cmdhelp_Click();
    void cmdquit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    FrmMainMenu();
    // Loads the five files from SystemDir; on failure tells the user and returns false.
    bool loadSettingsFiles();
    void enterFoundState();

    QTimer Timer1;
    QGroupBox* Frame2;
    QLineEdit* txtqldir;
    QPushButton* cmdsetqldir;
    QGroupBox* Frame1;
    QPushButton* cmdeditloadouts;
    QPushButton* cmdeditmisc;
    QPushButton* cmdhelp;
    QPushButton* cmdquit;
    InstallSearch::Result LastSearch;
};
