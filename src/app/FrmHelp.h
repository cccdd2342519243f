#pragma once

#include "widgets/FormInstance.h"

#include <QWidget>

class QLabel;
class QPushButton;

// About the program, and where to report faults. Opened beside the main menu, which stays usable.
class FrmHelp : public QWidget {
    Q_OBJECT
    friend class FormInstance<FrmHelp>;

public:
    // The one help window, created on first use.
    static FrmHelp& form() { return FormInstance<FrmHelp>::get(); }
    // The help window if it exists.
    static FrmHelp* existing() { return FormInstance<FrmHelp>::existing(); }
    // Destroys the help window.
    static void unload() { FormInstance<FrmHelp>::unload(); }

    ~FrmHelp() override;

public slots:
    void cmdclose_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    FrmHelp();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QPushButton* cmdclose;
};
