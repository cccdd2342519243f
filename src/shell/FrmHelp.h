#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// About the program, and where to report faults. Opened beside the main menu, which stays usable.
class FrmHelp : public QWidget {
    Q_OBJECT

public:
    // The one help window, created on first use.
    static FrmHelp& form();
    // The help window if it exists.
    static FrmHelp* existing();
    // Destroys the help window.
    static void unload();

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
