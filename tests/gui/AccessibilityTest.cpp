#include "Forms.h"
#include "FrmHelp.h"
#include "FrmLoadouts.h"
#include "FrmMainMenu.h"
#include "FrmOtherOptions.h"
#include "MsgBox.h"
#include "ScratchPrefix.h"
#include "Startup.h"
#include "TempDir.h"
#include "WhenBoxShows.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QAccessible::Role roleOf(QWidget* control) {
    if (qobject_cast<QLineEdit*>(control))
        return QAccessible::EditableText;
    return qobject_cast<QCheckBox*>(control) ? QAccessible::CheckBox : QAccessible::Button;
}

// What a screen reader reads for each control of a window that Tab can reach, in tab order from
// the control that has the focus when the window opens. A control without a name, of the wrong
// role, without its tooltip as its description or with a name another one has is a fault.
QStringList namesInTabOrder(QWidget& window, QStringList& faults) {
    QStringList names;
    QWidget* const first = window.focusWidget() ? window.focusWidget() : &window;
    QWidget* control = first;
    do {
        if ((control->focusPolicy() & Qt::TabFocus) && control->isVisibleTo(&window)) {
            QAccessibleInterface* item = QAccessible::queryAccessibleInterface(control);
            const QString name = item->text(QAccessible::Name);
            if (name.isEmpty() || names.contains(name) || item->role() != roleOf(control) ||
                item->text(QAccessible::Description) != control->toolTip())
                faults << control->objectName() + " \"" + name + '"';
            names << name;
        }
        control = control->nextInFocusChain();
    } while (control != first);
    return names;
}

template <typename Form> QWidget* shown() {
    QWidget* window = &Form::form();
    window->show();
    return window;
}

QWidget* shownWindow(const QString& name) {
    if (name == "FrmMainMenu")
        return shown<FrmMainMenu>();
    if (name == "FrmHelp")
        return shown<FrmHelp>();
    return name == "FrmLoadouts" ? shown<FrmLoadouts>() : shown<FrmOtherOptions>();
}

} // namespace

// Every control is named for screen readers, and taken and pressed from the keyboard.
class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchPrefix> prefix; // nothing for the main menu's search to find
    std::unique_ptr<TempSystemDir> files;

private slots:
    void init() {
        prefix = std::make_unique<ScratchPrefix>();
        files = std::make_unique<TempSystemDir>(QUILLON_EXAMPLES_DIR);
        Startup::SystemDir = files->systemDir();
        Startup::LoadIniFiles();
        MsgBoxTesting::startRecording();
    }
    void cleanup() {
        unloadAllForms();
        MsgBoxTesting::stopRecording();
        files.reset();
        prefix.reset();
    }

    void everyControlHasANameOfItsOwnAndItsRole_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("names"); // in tab order
        QTest::newRow("main menu")
            << "FrmMainMenu" << QStringList{"Where is your Quillon", "Set",   "Edit My Loadouts",
                                            "Edit Other Options",    "Help!", "Quit"};
        QTest::newRow("help") << "FrmHelp" << QStringList{"CLOSE"};
        QTest::newRow("loadouts") << "FrmLoadouts"
                                  << QStringList{"Thief Loadout 1",
                                                 "Thief Loadout 2",
                                                 "Thief Loadout 3",
                                                 "Thief Loadout 4",
                                                 "Guard Loadout 1",
                                                 "Guard Loadout 2",
                                                 "Guard Loadout 3",
                                                 "Guard Loadout 4",
                                                 "Force Buying?",
                                                 "Discard changes",
                                                 "Save",
                                                 "Exit"};
        QTest::newRow("other options") << "FrmOtherOptions"
                                       << QStringList{"Exit",
                                                      "Discard Changes",
                                                      "Save Settings",
                                                      "Cache Purge Time (days)",
                                                      "Show Visibility %?",
                                                      "Balance Teams?",
                                                      "Allow Downloads?",
                                                      "Log IP in Chat?",
                                                      "Time Limit",
                                                      "Guard Starting Loot",
                                                      "Thief Starting Loot",
                                                      "Default Guard Starting Loot",
                                                      "Default Thief Starting Loot",
                                                      "Player Name",
                                                      "Show Location in Chat Window?",
                                                      "Percent of Loot Dropped",
                                                      "Percent to Pass Votes",
                                                      "Invert Mouse?",
                                                      "Mouse Sensitivity"};
        // The platform orders a message box's buttons, so they are compared in any order.
        QTest::newRow("message box")
            << "MsgBox" << QStringList{"Yes", "No", "Cancel", "Show Details..."};
    }
    void everyControlHasANameOfItsOwnAndItsRole() {
        QFETCH(QString, window);
        QFETCH(QStringList, names);
        QStringList read;
        QStringList faults;
        if (window == "MsgBox") {
            MsgBoxTesting::stopRecording();
            whenBoxShows([&](QMessageBox* box) {
                read = namesInTabOrder(*box, faults);
                QTest::keyClick(box, Qt::Key_Escape);
            });
            MsgBox(QStringLiteral("Do you wish to save before exiting?"), 275, {},
                   QStringLiteral("details"));
            read.sort();
            names.sort();
        } else {
            read = namesInTabOrder(*shownWindow(window), faults);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
        QCOMPARE(read, names);
    }

    void enterPressesTheButtonWithTheFocus() {
        auto* help = shownWindow("FrmMainMenu")->findChild<QPushButton*>("cmdhelp");
        help->setFocus();
        QTest::keyClick(help, Qt::Key_Return);
        QVERIFY(FrmHelp::existing() && FrmHelp::existing()->isVisible());
        QTest::keyClick(FrmHelp::existing()->findChild<QPushButton*>("cmdclose"), Qt::Key_Enter);
        QTRY_VERIFY(!FrmHelp::existing());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
