#pragma once

#include "widgets/FormInstance.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The editor of the fourteen other options: player, system, mouse and server settings. The
// enabled state of "Save Settings" is its only record of unsaved changes.
class FrmOtherOptions : public QWidget {
    Q_OBJECT
    friend class FormInstance<FrmOtherOptions>;

public:
    // The one window, created and filled from the line arrays on first use.
    static FrmOtherOptions& form();
    // The window if it exists.
    static FrmOtherOptions* existing() { return FormInstance<FrmOtherOptions>::existing(); }
    // Destroys the window without asking anything.
    static void unload() { FormInstance<FrmOtherOptions>::unload(); }

    ~FrmOtherOptions() override;

public slots:
    void Form_Load();

    void txtplayername_Change();
    void txtcachetime_Change();
    void txtmousesensitivity_Change();
    void txttimelimit_Change();
    void txtguardloot_Change();
    void txtthiefloot_Change();
    void txtlootdropped_Change();
    void txtpassvotes_Change();

    void chkshowvispcent_Click();
    void chkshowlocinchat_Click();
    void chkallowdownloads_Click();
    void chkmouseinvert_Click();
    void chkbalanceteams_Click();
    void chklogipinchat_Click();

    void txtplayername_GotFocus();
    void txtcachetime_GotFocus();
    void txtmousesensitivity_GotFocus();
    void txttimelimit_GotFocus();
    void txtguardloot_GotFocus();
    void txtthiefloot_GotFocus();
    void txtlootdropped_GotFocus();
    void txtpassvotes_GotFocus();

    void cmddefaultguardloot_Click();
    void cmddefaultthiefloot_Click();
    void cmdsave_Click();
    void cmdload_Click();
    void cmdexit_Click();

protected:
    // Closing by the frame is "Exit", its question included.
    void closeEvent(QCloseEvent* event) override;
    // Moving the focus into a text box runs its GotFocus handler.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FrmOtherOptions();
    void buildControls();
    void connectHandlers();
    void setTabOrderOfControls();
    // Fills the option controls from the line arrays.
    void loadFields();
    // Writes the option controls into the line arrays and all five files; on failure tells
    // the user and returns false, leaving "Save Settings" enabled.
    bool saveSettings();
    // The default-value steps of one "Default" button.
    void putDefault(QLineEdit* box, const QString& defaultText);
    // Hides the window and destroys it once its handler has returned.
    void leave();

    QGroupBox* Frame1;
    QLabel* Label5;
    QLineEdit* txtplayername;
    QCheckBox* chkshowvispcent;
    QCheckBox* chkshowlocinchat;
    QGroupBox* Frame2;
    QLabel* Label1;
    QLineEdit* txtcachetime;
    QCheckBox* chkallowdownloads;
    QGroupBox* Frame4;
    QCheckBox* chkmouseinvert;
    QLabel* Label8;
    QLineEdit* txtmousesensitivity;
    QGroupBox* Frame3;
    QCheckBox* chkbalanceteams;
    QCheckBox* chklogipinchat;
    QLabel* Label2;
    QLineEdit* txttimelimit;
    QLabel* Label3;
    QLineEdit* txtguardloot;
    QPushButton* cmddefaultguardloot;
    QLabel* Label4;
    QLineEdit* txtthiefloot;
    QPushButton* cmddefaultthiefloot;
    QLabel* Label6;
    QLineEdit* txtlootdropped;
    QLabel* Label7;
    QLineEdit* txtpassvotes;
    QPushButton* cmdload;
    QPushButton* cmdsave;
    QPushButton* cmdexit;
};
