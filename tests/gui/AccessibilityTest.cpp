#include "ScratchPrefix.h"
#include "TempDir.h"
#include "WhenBoxShows.h"
#include "app/Forms.h"
#include "app/FrmHelp.h"
#include "app/FrmMainMenu.h"
#include "loadouts/FrmLoadouts.h"
#include "options/FrmOtherOptions.h"
#include "store/Startup.h"
#include "widgets/MsgBox.h"

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

// What a screen reader reads for each control of a window that Tab can reach. A control without
// a name, of the wrong role, without its tooltip as its description or with a name another one
// has is a fault.
QStringList namesOfControls(QWidget& window, QStringList& faults) {
    QStringList names;
    for (QWidget* control = window.nextInFocusChain(); control != &window;
         control = control->nextInFocusChain()) {
        if (!(control->focusPolicy() & Qt::TabFocus) || !control->isVisibleTo(&window))
            continue;
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(control);
        const QString name = item->text(QAccessible::Name);
        if (name.isEmpty() || names.contains(name) || item->role() != roleOf(control) ||
            item->text(QAccessible::Description) != control->toolTip())
            faults << control->objectName() + " \"" + name + '"';
        names << name;
    }
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

    // Each window with how many controls Tab reaches in it.
    void everyControlHasANameOfItsOwnAndItsRole_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("controls");
        QTest::newRow("main menu") << "FrmMainMenu" << 6;
        QTest::newRow("help") << "FrmHelp" << 1;
        QTest::newRow("loadouts") << "FrmLoadouts" << 12;
        QTest::newRow("other options") << "FrmOtherOptions" << 19;
        QTest::newRow("message box") << "MsgBox" << 4; // Yes, No, Cancel, Show Details...
    }
    void everyControlHasANameOfItsOwnAndItsRole() {
        QFETCH(QString, window);
        QFETCH(int, controls);
        QStringList names;
        QStringList faults;
        if (window == "MsgBox") {
            MsgBoxTesting::stopRecording();
            whenBoxShows([&](QMessageBox* box) {
                names = namesOfControls(*box, faults);
                QTest::keyClick(box, Qt::Key_Escape);
            });
            MsgBox(QStringLiteral("Save?"), 275, {}, QStringLiteral("details"));
        } else {
            names = namesOfControls(*shownWindow(window), faults);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
        QCOMPARE(names.size(), controls);
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
