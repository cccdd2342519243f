#pragma once

#include "widgets/FormInstance.h"

#include "loadouts/LoadoutLines.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The editor of the player's four thief and four guard loadout names and the force-buy switch.
class FrmLoadouts : public QWidget, public Functions::LoadoutsForm {
    Q_OBJECT
    friend class FormInstance<FrmLoadouts>;

public:
    // The one loadouts window, created hidden on first use.
    static FrmLoadouts& form() { return FormInstance<FrmLoadouts>::get(); }
    // The loadouts window if it exists.
    static FrmLoadouts* existing() { return FormInstance<FrmLoadouts>::existing(); }
    // Destroys the loadouts window at once.
    static void unload() { FormInstance<FrmLoadouts>::unload(); }

    // Runs at the end of a load that succeeded: creates the window hidden when it does not exist,
    // puts it into the saved state and has it fill itself from the new arrays once the load has
    // returned.
    static void loadoutsFileRead();

    ~FrmLoadouts() override;

    // Shows the window for the main menu, filling it first when it does not hold the loaded
    // values yet. Returns false, the window hidden, when the loadouts cannot be read; the user
    // has then been told why.
    bool showForEditing();

    // Functions::LoadoutsForm
    std::u16string loadoutText(std::size_t box) const override;
    void setLoadoutText(std::size_t box, const std::u16string& text) override;
    int forceBuyValue() const override;
    void setForceBuyValue(int value) override;
    void disableSave() override;

public slots:
    void tmrload_Timer();
    void txtthief1_Change();
    void txtthief2_Change();
    void txtthief3_Change();
    void txtthief4_Change();
    void txtguard1_Change();
    void txtguard2_Change();
    void txtguard3_Change();
    void txtguard4_Change();
    void chkforcebuy_Click();
    void txtthief1_gotfocus();
    void txtthief2_gotfocus();
    void txtthief3_gotfocus();
    void txtthief4_gotfocus();
    void txtguard1_gotfocus();
    void txtguard2_gotfocus();
    void txtguard3_gotfocus();
    void txtguard4_gotfocus();
    void cmdsave_Click();
    void cmdload_Click();
    void cmdexit_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    FrmLoadouts();
    void markChanged();
    void selectWholeText(std::size_t box);
    // Fills the window from the line arrays; tells the user of a refusal only when asked to.
    bool fillFromArrays(bool reportRefusal);
    // Writes the window's values; on failure tells the user and returns false.
    bool saveLoadouts();
    // Shows the main menu and destroys this window once the current event is done.
    void leave();

    QTimer tmrload;
    QLabel* Label1;
    QGroupBox* Frame1;
    QGroupBox* Frame2;
    std::array<QLineEdit*, Functions::LoadoutCount> loadoutBoxes;
    QCheckBox* chkforcebuy;
    QPushButton* cmdload;
    QPushButton* cmdsave;
    QPushButton* cmdexit;
    // Whether the boxes hold the values of the arrays as last loaded (or saved).
    bool filled = false;
};
