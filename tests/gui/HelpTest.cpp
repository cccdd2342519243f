#include "ScratchPrefix.h"
#include "app/Forms.h"
#include "app/FrmHelp.h"
#include "app/FrmMainMenu.h"
#include "store/Startup.h"
#include "widgets/FormLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

// What the main menu shows: which controls are enabled and what the folder box says.
struct MenuState {
    bool loadouts, misc, set, dirBox;
    QString dirText;
    bool visible;
    bool operator==(const MenuState&) const = default;
};

template <typename T> T* child(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

MenuState stateOf(FrmMainMenu& menu) {
    return {child<QPushButton>(menu, "cmdeditloadouts")->isEnabled(),
            child<QPushButton>(menu, "cmdeditmisc")->isEnabled(),
            child<QPushButton>(menu, "cmdsetqldir")->isEnabled(),
            child<QLineEdit>(menu, "txtqldir")->isEnabled(),
            child<QLineEdit>(menu, "txtqldir")->text(),
            menu.isVisible()};
}

int visibleHelpWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<FrmHelp*>(window) && window->isVisible())
            ++count;
    return count;
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        prefix = std::make_unique<ScratchPrefix>(); // nothing for the automatic search to find
        FrmMainMenu& menu = FrmMainMenu::form();
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        QTRY_VERIFY(!menu.lastSearch().places.empty()); // the automatic search has run
    }

    void cleanup() {
        unloadAllForms();
        prefix.reset();
        Startup::SystemDir.clear();
    }

    void showsItsTextsWithCloseFocused() {
        QTest::mouseClick(child<QPushButton>(FrmMainMenu::form(), "cmdhelp"), Qt::LeftButton);
        FrmHelp* help = FrmHelp::existing();
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowActive(help));
        QCOMPARE(help->windowTitle(), FormLayout::AppCaption);
        QCOMPARE(child<QLabel>(*help, "Label1")->text(), QStringLiteral("Brackens' Quillon Tool"));
        QCOMPARE(child<QLabel>(*help, "Label2")->text(), QStringLiteral("Version 1.1 Beta"));
        QVERIFY(child<QLabel>(*help, "Label3")
                    ->text()
                    .startsWith(
                        QStringLiteral("Ok, this version is starting to look a lot better now.")));
        QVERIFY(
            child<QLabel>(*help, "Label4")
                ->text()
                .contains(QRegularExpression(QStringLiteral("\\([\\w.-]+@example\\.org\\)\\.$"))));
        QVERIFY(
            child<QLabel>(*help, "Label5")
                ->text()
                .contains(QRegularExpression(QStringLiteral("https://[\\w.-]*example\\.org/$"))));
        auto* cmdclose = child<QPushButton>(*help, "cmdclose");
        QCOMPARE(cmdclose->text(), QStringLiteral("CLOSE"));
        QVERIFY(cmdclose->hasFocus());
    }

    void pressingHelpTwiceGivesOneWindow() {
        FrmMainMenu& menu = FrmMainMenu::form();
        auto* cmdhelp = child<QPushButton>(menu, "cmdhelp");
        QTest::mouseClick(cmdhelp, Qt::LeftButton);
        QPointer<FrmHelp> first = FrmHelp::existing();
        QVERIFY(first);
        QTest::mouseClick(cmdhelp, Qt::LeftButton);
        QCOMPARE(FrmHelp::existing(), first.data());
        QCOMPARE(visibleHelpWindows(), 1);
        QVERIFY(menu.isVisible());
        QVERIFY(cmdhelp->isEnabled());
    }

    void closeLeavesTheMainMenuAsItWas_data() {
        QTest::addColumn<bool>("found");
        QTest::newRow("waiting") << false;
        QTest::newRow("found") << true;
    }

    void closeLeavesTheMainMenuAsItWas() {
        QFETCH(bool, found);
        FrmMainMenu& menu = FrmMainMenu::form();
        if (found) {
            auto* txtqldir = child<QLineEdit>(menu, "txtqldir");
            txtqldir->setText(QDir::toNativeSeparators(QStringLiteral(QUILLON_EXAMPLES_DIR)));
            QTest::mouseClick(child<QPushButton>(menu, "cmdsetqldir"), Qt::LeftButton);
            QVERIFY(!txtqldir->isEnabled());
        }
        const MenuState before = stateOf(menu);
        const std::string systemDir = Startup::SystemDir;

        QTest::mouseClick(child<QPushButton>(menu, "cmdhelp"), Qt::LeftButton);
        QPointer<FrmHelp> help = FrmHelp::existing();
        QVERIFY(help);
        QTest::mouseClick(child<QPushButton>(*help, "cmdclose"), Qt::LeftButton);
        QVERIFY(!FrmHelp::existing());
        QTRY_VERIFY(!help); // discarded, not just hidden

        QVERIFY(stateOf(menu) == before);
        QCOMPARE(Startup::SystemDir, systemDir);
    }

    void closingByTheFrameDiscardsItAndHelpMakesItAfresh() {
        FrmMainMenu& menu = FrmMainMenu::form();
        QTest::mouseClick(child<QPushButton>(menu, "cmdhelp"), Qt::LeftButton);
        QPointer<FrmHelp> first = FrmHelp::existing();
        QVERIFY(first);
        first->close();
        QTRY_VERIFY(!first);
        QVERIFY(menu.isVisible());

        QTest::mouseClick(child<QPushButton>(menu, "cmdhelp"), Qt::LeftButton);
        QVERIFY(FrmHelp::existing());
        QCOMPARE(visibleHelpWindows(), 1);
    }

private:
    std::unique_ptr<ScratchPrefix> prefix;
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
