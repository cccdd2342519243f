#include "options/FrmOtherOptions.h"
#include "ChildProcess.h"
#include "ExitQuestion.h"
#include "GameStandIn.h"
#include "KeyLine.h"
#include "TempDir.h"
#include "app/Forms.h"
#include "app/FrmMainMenu.h"
#include "options/OptionFields.h"
#include "store/SettingRecords.h"
#include "store/Startup.h"
#include "widgets/ChangedFilesQuestion.h"
#include "widgets/GameRunningQuestion.h"
#include "widgets/MsgBox.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

const std::filesystem::path Examples = QUILLON_EXAMPLES_DIR;

QString controlName(std::size_t row) {
    const auto name = OptionFields::optionFieldTable()[row].control;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

class FrmOtherOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadsHandOutRecordsZeroToThirteenInRowOrder();
    void openingShowsSaveDisabledAndExitLeavesWithoutAsking();
    void everyEditEnablesSaveAndExitAsks_data();
    void everyEditEnablesSaveAndExitAsks();
    void typingAndDeletingStillCountsAsAChange();
    void exitCancelKeepsTheWindowAndItsEdits();
    void exitNoLeavesWithoutSaving();
    void exitYesSavesAllFilesBeforeLeaving();
    void exitYesStaysWhenTheSaveFails();
    void closingByTheFrameRunsTheExitSequence();
    void defaultButtons_data();
    void defaultButtons();
    void discardRestoresValuesAndLeavesSaveEnabled();
    void discardWithoutEditsLeavesSaveDisabled();
    void saveDisablesItselfAndWritesTheFiles();
    void typingLimits_data();
    void typingLimits();
    void overlongValueIsShownWholeAndCannotBeLengthened();
    void tabOrder();
    void focusIntoABoxSelectsItsWholeText();
    void failingSaveLeavesSaveEnabledFilesUntouchedAndEditsDroppable();
    void percentThatIsNotANumberIsRefusedNamingTheOption();
    void characterOutsideTheCodePageIsRefusedNamingItWhole();
    void missingKeyIsToldOnceAtOpening();
    void mainMenuOpensTheWindowAndHidesItself();
    void pastedLineBreakKeepsThePlayerNameOnOneLine();
    void fileWrittenByTheGameIsReplacedOnlyAfterYes_data();
    void fileWrittenByTheGameIsReplacedOnlyAfterYes();
    void saveWhileTheGameRunsGoesAheadOnlyAfterYes_data();
    void saveWhileTheGameRunsGoesAheadOnlyAfterYes();

private:
    FrmOtherOptions* open();
    template <typename T> T* control(const char* name) {
        auto* found = FrmOtherOptions::existing()->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    QLineEdit* box(const char* name) { return control<QLineEdit>(name); }
    // Types text into a box, as the user does once the focus is in it.
    void type(const char* name, const QString& text) {
        box(name)->setFocus();
        QTest::keyClicks(box(name), text);
    }
    // Clicks a button, the message boxes it raises answered in turn.
    void press(const char* name, std::initializer_list<int> answers = {}) {
        for (const auto answer : answers)
            MsgBoxTesting::queueAnswer(answer);
        QTest::mouseClick(button(name), Qt::LeftButton);
    }
    // Every settings file holds what the examples hold.
    void verifyFilesUntouched();

    std::unique_ptr<TempSystemDir> folder;
};

void FrmOtherOptionsTest::init() {
    folder = std::make_unique<TempSystemDir>(Examples);
    Startup::SystemDir = folder->systemDir();
    Startup::LoadIniFiles();
    Functions::OptionSettings = {};
    MsgBoxTesting::startRecording();
    Startup::setChangedFilesQuestion(&askToReplaceChangedFiles);
    Startup::setGameRunningQuestion(&askToSaveWhileTheGameRuns);
}

void FrmOtherOptionsTest::cleanup() {
    unloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    MsgBoxTesting::stopRecording();
    Startup::setChangedFilesQuestion(nullptr);
    Startup::setGameRunningQuestion(nullptr);
    folder.reset();
}

FrmOtherOptions* FrmOtherOptionsTest::open() {
    auto& window = FrmOtherOptions::form();
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        qWarning("the window did not become active");
    return &window;
}

void FrmOtherOptionsTest::verifyFilesUntouched() {
    for (const auto& file : Startup::settingsFiles())
        QVERIFY2(folder->bytes(file.fileName) == TempSystemDir::bytesOf(Examples / file.fileName),
                 file.fileName);
}

void FrmOtherOptionsTest::loadsHandOutRecordsZeroToThirteenInRowOrder() {
    open();
    for (int load = 0; load < 2; ++load) {
        for (std::size_t row = 0; row < OptionFields::OptionFieldCount; ++row) {
            auto* widget = FrmOtherOptions::existing()->findChild<QWidget*>(controlName(row));
            QVERIFY(widget);
            QCOMPARE(widget->property("Tag").toString(), QString::number(row));
        }
        QVERIFY(!Functions::OptionSettings[OptionFields::OptionFieldCount].InUse);
        QTest::mouseClick(button("cmdload"), Qt::LeftButton);
    }
    QCOMPARE(box("txtplayername")->text(), QStringLiteral("Player"));
    QCOMPARE(box("txtlootdropped")->text(), QStringLiteral("29"));
    QVERIFY(control<QCheckBox>("chkallowdownloads")->isChecked());
    QVERIFY(!control<QCheckBox>("chkmouseinvert")->isChecked());
}

void FrmOtherOptionsTest::openingShowsSaveDisabledAndExitLeavesWithoutAsking() {
    QPointer<FrmOtherOptions> window = open();
    QVERIFY(!button("cmdsave")->isEnabled());
    QVERIFY(button("cmdexit")->hasFocus());

    QTest::mouseClick(button("cmdexit"), Qt::LeftButton);
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
    QCOMPARE(FrmOtherOptions::existing(), nullptr);
    QVERIFY(window->isHidden());
    QVERIFY(FrmMainMenu::existing() && FrmMainMenu::existing()->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
}

void FrmOtherOptionsTest::everyEditEnablesSaveAndExitAsks_data() {
    QTest::addColumn<QString>("name");
    for (std::size_t row = 0; row < OptionFields::OptionFieldCount; ++row)
        QTest::newRow(controlName(row).toLatin1().constData()) << controlName(row);
}

void FrmOtherOptionsTest::everyEditEnablesSaveAndExitAsks() {
    QFETCH(QString, name);
    open();
    auto* widget = FrmOtherOptions::existing()->findChild<QWidget*>(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // The focus selects the whole text, so the typed character replaces it.
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("1"));
        QCOMPARE(edit->text(), QStringLiteral("1"));
    } else {
        auto* check = qobject_cast<QCheckBox*>(widget);
        QVERIFY(check);
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    }
    QVERIFY(button("cmdsave")->isEnabled());

    press("cmdexit", {MsgBoxAnswer::Cancel});
    verifyAskedToSaveBeforeExiting();
}

void FrmOtherOptionsTest::typingAndDeletingStillCountsAsAChange() {
    open();
    auto* edit = box("txtplayername");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral("x"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("Player"));
    QVERIFY(button("cmdsave")->isEnabled());
}

void FrmOtherOptionsTest::exitCancelKeepsTheWindowAndItsEdits() {
    open();
    type("txttimelimit", QStringLiteral("45"));
    press("cmdexit", {MsgBoxAnswer::Cancel});
    QVERIFY(FrmOtherOptions::existing() && FrmOtherOptions::existing()->isVisible());
    QCOMPARE(box("txttimelimit")->text(), QStringLiteral("45"));
    QVERIFY(button("cmdsave")->isEnabled());
    verifyFilesUntouched();
}

void FrmOtherOptionsTest::exitNoLeavesWithoutSaving() {
    open();
    type("txttimelimit", QStringLiteral("45"));
    press("cmdexit", {MsgBoxAnswer::No});
    QCOMPARE(FrmOtherOptions::existing(), nullptr);
    QVERIFY(FrmMainMenu::existing()->isVisible());
    verifyFilesUntouched();

    open();
    QCOMPARE(box("txttimelimit")->text(), QStringLiteral("20"));
}

void FrmOtherOptionsTest::exitYesSavesAllFilesBeforeLeaving() {
    open();
    type("txttimelimit", QStringLiteral("45"));
    press("cmdexit", {MsgBoxAnswer::Yes});
    QCOMPARE(MsgBoxTesting::takeCalls().size(), 1);
    QCOMPARE(FrmOtherOptions::existing(), nullptr);
    QVERIFY(FrmMainMenu::existing()->isVisible());

    std::string expected = TempSystemDir::bytesOf(Examples / "QuillonMod.ini");
    expected.replace(expected.find("TimeLimit=20"), 12, "TimeLimit=45");
    QVERIFY(folder->bytes("QuillonMod.ini") == expected);
}

void FrmOtherOptionsTest::exitYesStaysWhenTheSaveFails() {
    open();
    folder->makeReadOnly("QuillonMod.ini");
    type("txttimelimit", QStringLiteral("45"));
    press("cmdexit", {MsgBoxAnswer::Yes, MsgBoxAnswer::Ok});

    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 2);
    QVERIFY(calls[1].text.contains(QStringLiteral("QuillonMod.ini")));
    QVERIFY(FrmOtherOptions::existing() && FrmOtherOptions::existing()->isVisible());
    QVERIFY(button("cmdsave")->isEnabled());
    verifyFilesUntouched();
}

void FrmOtherOptionsTest::closingByTheFrameRunsTheExitSequence() {
    FrmOtherOptions* window = open();
    QTest::mouseClick(control<QCheckBox>("chklogipinchat"), Qt::LeftButton, {},
                      QPoint(6, control<QCheckBox>("chklogipinchat")->height() / 2));
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Cancel);
    window->close();
    QCOMPARE(MsgBoxTesting::takeCalls().size(), 1);
    QVERIFY(FrmOtherOptions::existing() && window->isVisible());

    MsgBoxTesting::queueAnswer(MsgBoxAnswer::No);
    window->close();
    QCOMPARE(FrmOtherOptions::existing(), nullptr);
    QVERIFY(FrmMainMenu::existing()->isVisible());
}

void FrmOtherOptionsTest::defaultButtons_data() {
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("fileValue");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<bool>("holdsDefault");
    const QString guard[] = {"cmddefaultguardloot", "txtguardloot", "GuardStartMoney=", "850"};
    const QString thief[] = {"cmddefaultthiefloot", "txtthiefloot", "ThievesStartMoney=", "600"};
    for (const auto& b : {guard, thief}) {
        QTest::newRow(qPrintable(b[1] + " default"))
            << b[0] << b[1] << b[2] << b[3] << b[3] << true;
        QTest::newRow(qPrintable(b[1] + " empty")) << b[0] << b[1] << b[2] << "" << b[3] << false;
        QTest::newRow(qPrintable(b[1] + " other")) << b[0] << b[1] << b[2] << "1" << b[3] << false;
        QTest::newRow(qPrintable(b[1] + " blank"))
            << b[0] << b[1] << b[2] << " " + b[3] << b[3] << false;
    }
}

void FrmOtherOptionsTest::defaultButtons() {
    QFETCH(QString, buttonName);
    QFETCH(QString, boxName);
    QFETCH(QString, key);
    QFETCH(QString, fileValue);
    QFETCH(QString, defaultValue);
    QFETCH(bool, holdsDefault);
    lineOf(Startup::QuillonModArray, key.toStdString()) = (key + fileValue).toStdString();
    open();
    QVERIFY(!button("cmdsave")->isEnabled());

    if (holdsDefault)
        MsgBoxTesting::queueAnswer(MsgBoxAnswer::Ok);
    QTest::mouseClick(button(qPrintable(buttonName)), Qt::LeftButton);
    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(box(qPrintable(boxName))->text(), defaultValue);
    if (holdsDefault) {
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].text, defaultValue + QStringLiteral(" is the default value..."));
        QCOMPARE(calls[0].title, QStringLiteral("D'Oh!"));
        QCOMPARE(calls[0].style, 0);
        QVERIFY(!button("cmdsave")->isEnabled());
    } else {
        QVERIFY(calls.isEmpty());
        QVERIFY(button("cmdsave")->isEnabled());
    }
}

void FrmOtherOptionsTest::discardRestoresValuesAndLeavesSaveEnabled() {
    open();
    type("txtplayername", QStringLiteral("Someone"));
    auto* check = control<QCheckBox>("chkbalanceteams");
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    QVERIFY(!check->isChecked());

    QTest::mouseClick(button("cmdload"), Qt::LeftButton);
    QCOMPARE(box("txtplayername")->text(), QStringLiteral("Player"));
    QVERIFY(check->isChecked());
    QVERIFY(button("cmdsave")->isEnabled());
}

void FrmOtherOptionsTest::discardWithoutEditsLeavesSaveDisabled() {
    open();
    QTest::mouseClick(button("cmdload"), Qt::LeftButton);
    QVERIFY(!button("cmdsave")->isEnabled());
}

void FrmOtherOptionsTest::saveDisablesItselfAndWritesTheFiles() {
    open();
    type("txtpassvotes", QStringLiteral("35"));
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
    QVERIFY(!button("cmdsave")->isEnabled());
    QVERIFY(folder->bytes("QuillonMod.ini").find("\r\nPercentageToPassVote=0.35\r\n") !=
            std::string::npos);
    // Nothing but the edit: the other files as they were, and no name of the program's own.
    auto expected = TempDir::contentsOf(Examples);
    expected["QuillonMod.ini"] = folder->bytes("QuillonMod.ini");
    QVERIFY(TempDir::contentsOf(folder->path()) == expected);

    QTest::mouseClick(button("cmdexit"), Qt::LeftButton);
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
    QCOMPARE(FrmOtherOptions::existing(), nullptr);
}

void FrmOtherOptionsTest::typingLimits_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit");
    for (const auto& field : OptionFields::optionFieldTable())
        if (field.typingLimit > 0)
            QTest::newRow(field.control.data())
                << QString::fromLatin1(field.control.data(),
                                       static_cast<qsizetype>(field.control.size()))
                << field.typingLimit;
}

void FrmOtherOptionsTest::typingLimits() {
    QFETCH(QString, name);
    QFETCH(int, limit);
    open();
    auto* edit = box(qPrintable(name));
    edit->setFocus();
    QTest::keyClicks(edit, QString(30, QLatin1Char('7')));
    QCOMPARE(edit->text(), QString(limit, QLatin1Char('7')));
}

void FrmOtherOptionsTest::overlongValueIsShownWholeAndCannotBeLengthened() {
    const QString name = QStringLiteral("Abcdefghijklmnopqrstuvwxy");
    lineOf(Startup::QuillonUserArray, "Name=") = "Name=" + name.toStdString();
    open();
    auto* edit = box("txtplayername");
    QCOMPARE(edit->text(), name);

    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral("z"));
    QCOMPARE(edit->text(), name);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QStringLiteral("z"));
    QCOMPARE(edit->text(), name.left(24));

    // Replaced by a short text, the box takes up to 20 typed characters again.
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QString(30, QLatin1Char('q')));
    QCOMPARE(edit->text(), QString(20, QLatin1Char('q')));
}

void FrmOtherOptionsTest::tabOrder() {
    open();
    const QStringList withSaveDisabled = {"cmdexit",
                                          "cmdload",
                                          "txtcachetime",
                                          "chkshowvispcent",
                                          "chkbalanceteams",
                                          "chkallowdownloads",
                                          "chklogipinchat",
                                          "txttimelimit",
                                          "txtguardloot",
                                          "txtthiefloot",
                                          "cmddefaultguardloot",
                                          "cmddefaultthiefloot",
                                          "txtplayername",
                                          "chkshowlocinchat",
                                          "txtlootdropped",
                                          "txtpassvotes",
                                          "chkmouseinvert",
                                          "txtmousesensitivity",
                                          "cmdexit"};
    QStringList visited;
    for (qsizetype i = 0; i < withSaveDisabled.size(); ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, withSaveDisabled);

    // Once enabled, "Save Settings" follows "Discard Changes".
    QTest::keyClicks(box("txtplayername"), QStringLiteral("x"));
    button("cmdexit")->setFocus();
    QTest::keyClick(button("cmdexit"), Qt::Key_Tab);
    QTest::keyClick(button("cmdload"), Qt::Key_Tab);
    QVERIFY(button("cmdsave")->hasFocus());
}

void FrmOtherOptionsTest::focusIntoABoxSelectsItsWholeText() {
    open();
    QVERIFY(button("cmdexit")->hasFocus());
    QTest::keyClick(button("cmdexit"), Qt::Key_Tab);
    QTest::keyClick(button("cmdload"), Qt::Key_Tab);
    QVERIFY(box("txtcachetime")->hasFocus());
    QCOMPARE(box("txtcachetime")->selectedText(), QStringLiteral("30"));

    auto* edit = box("txtmousesensitivity");
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 3, edit->height() / 2));
    QCoreApplication::processEvents();
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), QStringLiteral("3.00"));
}

void FrmOtherOptionsTest::failingSaveLeavesSaveEnabledFilesUntouchedAndEditsDroppable() {
    open();
    folder->makeReadOnly("QuillonUser.ini");
    type("txtplayername", QStringLiteral("Someone"));
    press("cmdsave", {MsgBoxAnswer::Ok});

    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].style, 16);
    QVERIFY(calls[0].text.contains(QStringLiteral("QuillonUser.ini")));
    QVERIFY(button("cmdsave")->isEnabled());
    verifyFilesUntouched();

    // Leaving without saving drops the edits: the line arrays still hold what the files hold.
    press("cmdexit", {MsgBoxAnswer::No});
    QCOMPARE(lineOf(Startup::QuillonUserArray, "Name=").text(), std::string("Name=Player"));
    open();
    QCOMPARE(box("txtplayername")->text(), QStringLiteral("Player"));
}

void FrmOtherOptionsTest::percentThatIsNotANumberIsRefusedNamingTheOption() {
    open();
    type("txtlootdropped", QStringLiteral("ab"));
    type("txtplayername", QStringLiteral("Someone"));
    press("cmdsave", {MsgBoxAnswer::Ok});

    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QVERIFY(calls[0].text.contains(QStringLiteral("Percent of Loot Dropped")));
    QVERIFY(button("cmdsave")->isEnabled());
    QCOMPARE(lineOf(Startup::QuillonUserArray, "Name=").text(), std::string("Name=Player"));
    verifyFilesUntouched();
}

void FrmOtherOptionsTest::characterOutsideTheCodePageIsRefusedNamingItWhole() {
    open();
    const QString grin = QString::fromUtf16(u"\U0001F600");
    box("txtplayername")->setText(QStringLiteral("A") + grin);
    press("cmdsave", {MsgBoxAnswer::Ok});

    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QVERIFY(calls[0].text.contains(QStringLiteral("\"Player Name\"")));
    QVERIFY(calls[0].text.contains(QStringLiteral("\"") + grin + QStringLiteral("\"")));
    QVERIFY(button("cmdsave")->isEnabled());
    verifyFilesUntouched();
}

void FrmOtherOptionsTest::missingKeyIsToldOnceAtOpening() {
    lineOf(Startup::QuillonModArray, "TimeLimit=") = "TimeLimitX=20";
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Ok);
    open();
    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].text,
             QStringLiteral("Goats have eaten your hard-drive, please report this error"));
    QCOMPARE(calls[0].style, 0);
    QCOMPARE(calls[0].title, AppTitle);
    QCOMPARE(box("txttimelimit")->text(), QString());
    QVERIFY(!button("cmdsave")->isEnabled());
}

void FrmOtherOptionsTest::mainMenuOpensTheWindowAndHidesItself() {
    auto& menu = FrmMainMenu::form();
    menu.show();
    menu.cmdeditmisc_Click();
    QVERIFY(FrmOtherOptions::existing() && FrmOtherOptions::existing()->isVisible());
    QVERIFY(menu.isHidden());
}

QTEST_MAIN(FrmOtherOptionsTest)
#include "FrmOtherOptionsTest.moc"

void FrmOtherOptionsTest::pastedLineBreakKeepsThePlayerNameOnOneLine() {
    open();
    box("txtplayername")->setFocus();
    box("txtplayername")->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("Night Owl\r\nName=Evil"));
    QTest::keySequence(box("txtplayername"), QKeySequence::Paste);
    QCOMPARE(box("txtplayername")->text(), QStringLiteral("Night Owl"));
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
    std::string expected = TempSystemDir::bytesOf(Examples / "QuillonUser.ini");
    expected.replace(expected.find("Name=Player"), 11, "Name=Night Owl");
    QCOMPARE(folder->bytes("QuillonUser.ini"), expected);
}

void FrmOtherOptionsTest::fileWrittenByTheGameIsReplacedOnlyAfterYes_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("No keeps the game's file") << MsgBoxAnswer::No;
    QTest::newRow("Yes replaces it") << MsgBoxAnswer::Yes;
}

void FrmOtherOptionsTest::fileWrittenByTheGameIsReplacedOnlyAfterYes() {
    QFETCH(int, answer);
    open();
    box("txttimelimit")->setFocus();
    box("txttimelimit")->selectAll();
    QTest::keyClicks(box("txttimelimit"), QStringLiteral("45"));
    std::string game = folder->bytes("QuillonUser.ini");
    game.replace(game.find("Name=Player"), 11, "Name=Renamed In Game");
    folder->write("QuillonUser.ini", game);

    MsgBoxTesting::queueAnswer(answer);
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);
    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(
        calls[0].text,
        QStringLiteral(
            "QuillonUser.ini has been changed by another program since it was loaded (the game "
            "writes its settings when it closes). Replace it with the settings shown here?"));
    QCOMPARE(calls[0].style, MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation);
    if (answer == MsgBoxAnswer::No) {
        QCOMPARE(folder->bytes("QuillonUser.ini"), game);
        QCOMPARE(folder->bytes("QuillonMod.ini"),
                 TempSystemDir::bytesOf(Examples / "QuillonMod.ini")); // nothing was written
        QVERIFY(button("cmdsave")->isEnabled());
        QCOMPARE(box("txttimelimit")->text(), QStringLiteral("45"));
    } else {
        QVERIFY(folder->bytes("QuillonUser.ini").find("Name=Player\r\n") != std::string::npos);
        QVERIFY(!button("cmdsave")->isEnabled());
    }
}

void FrmOtherOptionsTest::saveWhileTheGameRunsGoesAheadOnlyAfterYes_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("No writes nothing and keeps the edits") << MsgBoxAnswer::No;
    QTest::newRow("Yes saves") << MsgBoxAnswer::Yes;
}

void FrmOtherOptionsTest::saveWhileTheGameRunsGoesAheadOnlyAfterYes() {
    QFETCH(int, answer);
    const ChildProcess game(copyOfStandIn(folder->path(), GameProgramName), {});
    open();
    QTest::keyClicks(box("txttimelimit"), QStringLiteral("5")); // 20 becomes 520

    MsgBoxTesting::queueAnswer(answer);
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);
    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].text, QString::fromLatin1(GameProgramName) +
                                QStringLiteral(" is running from this System folder. The game "
                                               "reads these settings only when it starts, and it "
                                               "may write its own over them when it closes.\n\n"
                                               "Save anyway?"));
    QCOMPARE(calls[0].style,
             MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation | MsgBoxStyle::DefaultButton2);
    QCOMPARE(button("cmdsave")->isEnabled(), answer == MsgBoxAnswer::No);
    QCOMPARE(box("txttimelimit")->text(), QStringLiteral("520"));
    if (answer == MsgBoxAnswer::No)
        verifyFilesUntouched();
    else
        QVERIFY(folder->bytes("QuillonMod.ini").find("TimeLimit=520\r\n") != std::string::npos);
}
