#pragma once

#include "widgets/FormInstance.h"

#include <QFrame>
#include <QTimer>

#include <memory>

class QLabel;
class SingleInstance;

// Where the program starts: makes sure it is the only copy running, reads the game's install
// folder from the registry, and after a moment hands over to the main menu. It then stays
// loaded but hidden until the program ends.
class FrmSplash : public QFrame {
    Q_OBJECT
    friend class FormInstance<FrmSplash>;

public:
    // The one splash window, created (and so loaded) on first use.
    static FrmSplash& form() { return FormInstance<FrmSplash>::get(); }
    // The splash window if it exists.
    static FrmSplash* existing() { return FormInstance<FrmSplash>::existing(); }
    // Destroys the splash window, and with it this copy's claim to be the only one running.
    static void unload() { FormInstance<FrmSplash>::unload(); }

    ~FrmSplash() override;

public slots:
    void timload_Timer();

private:
    FrmSplash();
    void Form_Load();

    QTimer timload{this};
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    std::unique_ptr<SingleInstance> runningCopy; // held for the life of the program
};
