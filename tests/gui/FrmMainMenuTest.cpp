#include "app/FrmMainMenu.h"
#include "ScratchPrefix.h"
#include "TempDir.h"
#include "app/Forms.h"
#include "install/GamePaths.h"
#include "store/Startup.h"
#include "widgets/MsgBox.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class FrmMainMenuTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchPrefix> prefix;

    // The sample files in C:\Games\Unreal Tournament\System, the third fixed candidate.
    fs::path
    installExamples(const QString& below = QStringLiteral("Games/Unreal Tournament/System")) {
        return prefix->driveCFolderWithSampleFiles(below).toStdString();
    }
    FrmMainMenu& openMenu() {
        FrmMainMenu& menu = FrmMainMenu::form();
        menu.show();
        return menu;
    }
    template <typename T> static T* child(FrmMainMenu& menu, const char* name) {
        T* found = menu.findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    static bool inFoundState(FrmMainMenu& menu) {
        return child<QPushButton>(menu, "cmdeditloadouts")->isEnabled() &&
               child<QPushButton>(menu, "cmdeditmisc")->isEnabled() &&
               !child<QPushButton>(menu, "cmdsetqldir")->isEnabled() &&
               !child<QLineEdit>(menu, "txtqldir")->isEnabled();
    }
    static bool inWaitingState(FrmMainMenu& menu) {
        return !child<QPushButton>(menu, "cmdeditloadouts")->isEnabled() &&
               !child<QPushButton>(menu, "cmdeditmisc")->isEnabled() &&
               child<QPushButton>(menu, "cmdsetqldir")->isEnabled() &&
               child<QLineEdit>(menu, "txtqldir")->isEnabled();
    }
    // Lets the one-shot search timer fire.
    static void waitForSearch() { QTest::qWait(150); }

private slots:
    void init() {
        // An empty scratch Wine prefix: drive C: exists but holds no game until a test adds one.
        prefix = std::make_unique<ScratchPrefix>();
        Startup::InstallFolder.clear();
        Startup::SystemDir.clear();
        MsgBoxTesting::startRecording();
    }
    void cleanup() {
        unloadAllForms();
        MsgBoxTesting::stopRecording();
        prefix.reset();
    }

    void startsWaitingWithItsCaptionsAndTooltips() {
        FrmMainMenu& menu = openMenu();
        QCOMPARE(menu.windowTitle(), QStringLiteral("Brackens' Quillon Tool"));
        QCOMPARE(child<QGroupBox>(menu, "Frame2")->title(),
                 QStringLiteral("Where is your Quillon?"));
        QCOMPARE(child<QGroupBox>(menu, "Frame1")->title(),
                 QStringLiteral("What would you like to do?"));
        QVERIFY(child<QGroupBox>(menu, "Frame1")->font().bold());
        auto* box = child<QLineEdit>(menu, "txtqldir");
        QCOMPARE(box->text(), QStringLiteral("{Your Unreal Tournament dir here}"));
        QCOMPARE(box->toolTip(),
                 QStringLiteral(
                     "Type your full Unreal Tournament path in here e.g. 'C:\\UnrealTournament"));
        QCOMPARE(child<QPushButton>(menu, "cmdsetqldir")->toolTip(),
                 QStringLiteral("Hit this once you've typed in your Unreal Tournament path."));
        QCOMPARE(child<QPushButton>(menu, "cmdhelp")->text(), QStringLiteral("Help!"));
        QVERIFY(child<QPushButton>(menu, "cmdquit")->font().bold());
        QVERIFY(inWaitingState(menu));
    }

    void tabVisitsTheControlsInOrder() {
        FrmMainMenu& menu = openMenu();
        // Enable everything so that Tab can stop at each control.
        for (auto* button : menu.findChildren<QPushButton*>())
            button->setEnabled(true);
        const char* order[] = {"txtqldir",    "cmdsetqldir", "cmdeditloadouts",
                               "cmdeditmisc", "cmdhelp",     "cmdquit"};
        QWidget* at = child<QLineEdit>(menu, "txtqldir");
        for (const char* expected : order) {
            QCOMPARE(at->objectName(), QString::fromLatin1(expected));
            at = at->nextInFocusChain();
            while (!(at->focusPolicy() & Qt::TabFocus))
                at = at->nextInFocusChain();
        }
        QCOMPARE(at->objectName(), QStringLiteral("txtqldir")); // and round again
    }

    void findsAFixedCandidateByItselfAndLoads() {
        installExamples();
        FrmMainMenu& menu = openMenu();
        QTRY_VERIFY(inFoundState(menu));
        QCOMPARE(Startup::SystemDir, std::string("C:\\Games\\Unreal Tournament\\System\\"));
        QCOMPARE(child<QLineEdit>(menu, "txtqldir")->text(),
                 QStringLiteral("C:\\Games\\Unreal Tournament\\System\\"));
        QCOMPARE(Startup::QuillonModArray[21], std::string("bForceBuying=True"));
        QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
    }

    void installFolderIsTriedFirst() {
        installExamples();
        installExamples(QStringLiteral("UT/System"));
        Startup::InstallFolder = "C:\\UT";
        FrmMainMenu& menu = openMenu();
        QTRY_VERIFY(inFoundState(menu));
        QCOMPARE(child<QLineEdit>(menu, "txtqldir")->text(), QStringLiteral("C:\\UT\\System\\"));
    }

    void findsASteamLibraryOnLinuxByItselfAndShowsItsFolderWhole() {
#ifdef Q_OS_WIN
        QSKIP("Steam for Linux is looked for on Linux only");
#else
        const QString steam = prefix->homeFolder() + "/.local/share/Steam/steamapps";
        const QString system = steam + QStringLiteral("/common/\u0418\u0433\u0440\u044b UT/System");
        ScratchPrefixFiles::withSampleFiles(system);
        std::ofstream((steam + "/appmanifest_13240.acf").toStdString())
            << QStringLiteral("\"AppState\" { \"installdir\" \"\u0418\u0433\u0440\u044b UT\" }")
                   .toStdString();
        FrmMainMenu& menu = openMenu();
        QTRY_VERIFY(inFoundState(menu));
        QCOMPARE(child<QLineEdit>(menu, "txtqldir")->text(), system + QLatin1Char('/'));
        QCOMPARE(child<QLineEdit>(menu, "txtqldir")->toolTip(), system + QLatin1Char('/'));
#endif
    }

    void staysWaitingSilentlyWhenNoCandidateQualifies() {
        FrmMainMenu& menu = openMenu();
        waitForSearch();
        QVERIFY(inWaitingState(menu));
        QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
        // The registry names no install folder, and the search says so rather than looking at
        // \System\ at the root of a drive.
        QCOMPARE(menu.lastSearch().places.at(0).reason, std::string("no such value"));
    }

    void candidateThatFailsToLoadIsReportedAndTheMenuKeepsWaiting() {
        fs::remove(installExamples() / "QuillonAI.ini");
        FrmMainMenu& menu = openMenu();
        waitForSearch();
        const auto calls = MsgBoxTesting::takeCalls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].title, QStringLiteral("Critical Error!"));
        QVERIFY(calls[0].details.contains(QStringLiteral("QuillonAI.ini")));
        QVERIFY(inWaitingState(menu));
    }

    void setWithThePlaceholderShowsCriticalErrorAndKeepsWaiting() {
        FrmMainMenu& menu = openMenu();
        waitForSearch();
        QTest::mouseClick(child<QPushButton>(menu, "cmdsetqldir"), Qt::LeftButton);
        const auto calls = MsgBoxTesting::takeCalls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].title, QStringLiteral("Critical Error!"));
        QCOMPARE(calls[0].style, 0);
        QCOMPARE(
            calls[0].text,
            QStringLiteral(
                "Cannot locate Quillon ini files!\rPlease enter the full path of your "
                "'Unreal\\System\\' directory\rN.B. You must include the final backslash(\\)"));
        QVERIFY(calls[0].details.contains(QStringLiteral("QLLoadouts.ini")));
        QCOMPARE(Startup::SystemDir, std::string("{Your Unreal Tournament dir here}\\system\\"));
        QVERIFY(inWaitingState(menu));
        QCOMPARE(child<QLineEdit>(menu, "txtqldir")->text(),
                 QStringLiteral("{Your Unreal Tournament dir here}"));
    }

    void setWithAGoodFolderEntersTheFoundStateWithoutAMessage() {
        TempDir game;
        game.copyFilesFrom(QUILLON_EXAMPLES_DIR, "System");
        FrmMainMenu& menu = openMenu();
        waitForSearch();
        auto* box = child<QLineEdit>(menu, "txtqldir");
        box->selectAll();
        QTest::keyClicks(box, QString::fromStdString(game.path().string()));
        QTest::mouseClick(child<QPushButton>(menu, "cmdsetqldir"), Qt::LeftButton);
        QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
        QVERIFY(inFoundState(menu));
        QCOMPARE(box->text(),
                 QDir::toNativeSeparators(QString::fromStdString(game.path().string()) +
                                          QStringLiteral("/system/")));
        QCOMPARE(Startup::QlLoadoutsArray[1], std::string("ThiefLoadout[0]=Shadow Runner"));
    }

    // A folder named in any script, or deeper than Windows' 260 characters, found through the
    // registry or typed, is loaded and a save lands in it.
    void foldersOfAnyNameAreFoundAndSavedInto_data() {
        QTest::addColumn<QString>("below");
        QTest::addColumn<bool>("typed");
        QString deep = QStringLiteral("UT");
        for (char c = 'a'; c < 'f'; ++c)
            deep += QLatin1Char('/') + QString(60, QLatin1Char(c));
        QTest::newRow("Cyrillic, in the registry") << QStringLiteral("Игры/UT") << false;
        QTest::newRow("Japanese, typed") << QStringLiteral("ゲーム/UT") << true;
        QTest::newRow("over 300 characters, typed") << deep << true;
    }
    void foldersOfAnyNameAreFoundAndSavedInto() {
        QFETCH(QString, below);
        QFETCH(bool, typed);
        const QString system = prefix->driveCFolderWithSampleFiles(below + "/System");
        const QString folder = QStringLiteral("C:\\") + QString(below).replace('/', '\\');
        if (!typed) {
            prefix->registerInstallFolder(folder);
            Startup::InstallFolder = GamePaths::readInstallFolder();
        }
        FrmMainMenu& menu = openMenu();
        waitForSearch();
        auto* box = child<QLineEdit>(menu, "txtqldir");
        if (typed) {
            box->setText(folder);
            QTest::mouseClick(child<QPushButton>(menu, "cmdsetqldir"), Qt::LeftButton);
        }
        QTRY_VERIFY(inFoundState(menu));
        QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
        QCOMPARE(box->text(),
                 folder + (typed ? QStringLiteral("\\system\\") : QStringLiteral("\\System\\")));
        Startup::QLAuxArray.set(0, "[Saved]");
        Startup::SaveIniFiles();
        QFile saved(system + QStringLiteral("/QLAux.ini"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().startsWith("[Saved]\r\n"));
    }

    void quitEndsTheEventLoopAndHidesEveryWindow() {
        FrmMainMenu& menu = openMenu();
        QTimer::singleShot(0, child<QPushButton>(menu, "cmdquit"), &QPushButton::click);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); }); // a safety net only
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!menu.isVisible());
    }

    void closingTheFrameIsQuit() {
        FrmMainMenu& menu = openMenu();
        QTimer::singleShot(0, &menu, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!menu.isVisible());
    }
};

QTEST_MAIN(FrmMainMenuTest)
#include "FrmMainMenuTest.moc"
