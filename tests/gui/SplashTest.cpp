#include "ScratchPrefix.h"
#include "app/Forms.h"
#include "app/FrmMainMenu.h"
#include "app/FrmSplash.h"
#include "store/Startup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class SplashTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The claim to be the only copy goes into a folder of the test's own, so a copy of the
        // program the user is running meets nothing here.
        QVERIFY(runtimeDir.isValid());
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    }

    void cleanup() {
        unloadAllForms();
        Startup::InstallFolder.clear();
        Startup::SystemDir.clear();
    }

    void showsItsCaptionsWithoutTitleBar() {
        ScratchPrefix prefix;
        FrmSplash& splash = FrmSplash::form();
        splash.show();

        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(splash.windowTitle().isEmpty());
        const struct {
            const char* name;
            const char* caption;
            double points;
        } labels[] = {{"Label1", "Brackens'", 36},
                      {"Label2", "Quillon Tool", 26.25},
                      {"Label3", "Version 1.1 Beta", 8.25}};
        for (const auto& expected : labels) {
            auto* label = splash.findChild<QLabel*>(QString::fromLatin1(expected.name));
            QVERIFY2(label, expected.name);
            QCOMPARE(label->text(), QString::fromLatin1(expected.caption));
            QCOMPARE(label->font().pointSizeF(), expected.points);
            QVERIFY(label->isVisible());
        }
    }

    void handsOverToTheMainMenuOnceAndStaysLoadedButHidden() {
        ScratchPrefix prefix; // no registry entry
        FrmSplash& splash = FrmSplash::form();
        splash.show();
        auto* timload = splash.findChild<QTimer*>(QStringLiteral("timload"));
        QVERIFY(timload);
        QCOMPARE(timload->interval(), 1500);
        QVERIFY(timload->isActive());
        QVERIFY(!FrmMainMenu::existing());
        QCOMPARE(Startup::InstallFolder, std::string());

        QTRY_VERIFY_WITH_TIMEOUT(FrmMainMenu::existing() && FrmMainMenu::existing()->isVisible(),
                                 10000);
        QVERIFY(!timload->isActive());
        QVERIFY(splash.isHidden());
        QCOMPARE(FrmSplash::existing(), &splash);

        // Hidden again by hand, the main menu must not come back: the timer fired only once.
        FrmMainMenu::existing()->hide();
        QTest::qWait(timload->interval() + 300);
        QVERIFY(FrmMainMenu::existing()->isHidden());
        QVERIFY(splash.isHidden());
    }

    void registryInstallFolderLetsTheMainMenuFindTheFilesByItself() {
        ScratchPrefix prefix;
        prefix.driveCFolderWithSampleFiles(QStringLiteral("Quillon Test Game/System"));
        prefix.registerInstallFolder(QStringLiteral("C:\\Quillon Test Game"));

        FrmSplash::form().show();
        QCOMPARE(Startup::InstallFolder, std::string("C:\\Quillon Test Game"));
        QTRY_VERIFY_WITH_TIMEOUT(FrmMainMenu::existing(), 10000);
        FrmMainMenu& menu = *FrmMainMenu::existing();
        auto* txtqldir = menu.findChild<QLineEdit*>(QStringLiteral("txtqldir"));
        auto* cmdeditloadouts = menu.findChild<QPushButton*>(QStringLiteral("cmdeditloadouts"));
        QTRY_VERIFY(cmdeditloadouts->isEnabled());
        QCOMPARE(txtqldir->text(), QStringLiteral("C:\\Quillon Test Game\\System\\"));
        QVERIFY(!txtqldir->isEnabled());
        QCOMPARE(menu.lastSearch().places.at(0).folder,
                 std::string("C:\\Quillon Test Game\\System\\"));
        QVERIFY(!Startup::QlLoadoutsArray.empty());
    }

    void installFolderOutsideAsciiIsFoundToo() {
        ScratchPrefix prefix;
        prefix.driveCFolderWithSampleFiles(QStringLiteral("Jeux Caf\u00e9/System"));
        prefix.registerInstallFolder(QStringLiteral("C:\\Jeux Caf\u00e9"));

        FrmSplash::form().show();
        QCOMPARE(Startup::InstallFolder, std::string("C:\\Jeux Caf\xC3\xA9")); // UTF-8
        QTRY_VERIFY_WITH_TIMEOUT(FrmMainMenu::existing(), 10000);
        auto* txtqldir = FrmMainMenu::existing()->findChild<QLineEdit*>(QStringLiteral("txtqldir"));
        QTRY_VERIFY(!txtqldir->isEnabled());
        QCOMPARE(txtqldir->text(), QStringLiteral("C:\\Jeux Caf\u00e9\\System\\"));
    }

private:
    QTemporaryDir runtimeDir;
};

QTEST_MAIN(SplashTest)
#include "SplashTest.moc"
