#include "loadouts/FrmLoadouts.h"
#include "app/Forms.h"
#include "app/FrmMainMenu.h"
#include "store/LineArray.h"
#include "store/Startup.h"
#include "widgets/MsgBox.h"

#include "ExitQuestion.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QStringList FileNames = {"QLLoadouts.ini", "QuillonMod.ini", "QuillonUser.ini",
                               "QuillonAI.ini", "QLAux.ini"};
const QStringList BoxNames = {"txtthief1", "txtthief2", "txtthief3", "txtthief4",
                              "txtguard1", "txtguard2", "txtguard3", "txtguard4"};

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// A System folder holding copies of the example files.
std::unique_ptr<QTemporaryDir> makeSystemFolder() {
    auto dir = std::make_unique<QTemporaryDir>();
    for (const QString& name : FileNames)
        QFile::copy(QStringLiteral(QUILLON_EXAMPLES_DIR "/") + name, dir->filePath(name));
    for (const QString& name : FileNames)
        QFile::setPermissions(dir->filePath(name), QFile::ReadOwner | QFile::WriteOwner);
    return dir;
}

void useSystemFolder(const QTemporaryDir& dir) {
    Startup::SystemDir = QDir(dir.path()).absolutePath().toStdString() + '/';
}

// Replaces one line (1-based) of a settings file, keeping the rest byte for byte.
void setLine(const QString& path, std::size_t lineNumber, const std::string& text) {
    const QByteArray bytes = readFile(path);
    LineArray lines = splitLines(std::string_view(bytes.constData(), bytes.size()));
    lines.set(lineNumber - 1, text);
    const std::string joined = joinLines(lines);
    writeFile(path, QByteArray(joined.data(), static_cast<qsizetype>(joined.size())));
}

// The share of a drawn button's pixels that show its dark yellow face (C0 C0 00). The style
// shades the face a little, so a pixel counts when it is a strong, bright yellow; the grey of
// an ordinary button face never does.
double yellowShare(const QImage& drawn) {
    qsizetype yellow = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor pixel = drawn.pixelColor(x, y);
            if (qAbs(pixel.hsvHue() - 60) <= 10 && pixel.hsvSaturation() >= 128 &&
                pixel.value() >= 153)
                ++yellow;
        }
    return double(yellow) / double(drawn.width() * drawn.height());
}

std::string lineOnDisk(const QString& path, std::size_t lineNumber) {
    const QByteArray bytes = readFile(path);
    return std::string(
        splitLines(std::string_view(bytes.constData(), bytes.size())).at(lineNumber - 1));
}

} // namespace

class FrmLoadoutsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void load_createsWindowHiddenInSavedState_andItFillsItself();
    void controls_haveTheirCaptionsFacesAndLimits();
    void opening_showsValuesWithSaveDisabled_andExitLeavesWithoutPrompt();
    void anyEdit_enablesSave_andExitAsks_data();
    void anyEdit_enablesSave_andExitAsks();
    void exitPromptCancel_keepsWindowAndEdits();
    void exitPromptNo_leaves_andNextOpeningShowsOldValues();
    void exitPromptYes_writesAllFiveFilesBeforeLeaving();
    void closingByFrame_runsTheExitSequence();
    void save_writesAndDisablesItself();
    void discard_restoresValuesInMemoryNotOnDisk();
    void focusIntoBox_selectsWholeText();
    void tabOrder_runsThroughBoxesCheckBoxAndButtons();
    void typing_stopsAt30Characters_butLongerLoadedNameIsKeptWhole();
    void failingSave_leavesSaveEnabledAndFilesUntouched();
    void characterOutsideCodePage_isRefusedNamingTheBox();
    void failedLoad_changesNothing_andNextLoadFillsWindow();
    void unreadableLoadouts_keepEditorClosed();
    void pastedOrDroppedText_keepsItsFirstLineOnly_data();
    void pastedOrDroppedText_keepsItsFirstLineOnly();
    void contextMenuPaste_insertsAtTheCursor();

private:
    FrmLoadouts* openFromMainMenu();
    QLineEdit* box(const QString& name) const;
    QPushButton* button(const char* name) const;
    QCheckBox* checkBox() const;
    QTimer* loadTimer() const;
    QString filePath(const QString& name) const { return dir->filePath(name); }
    QList<QByteArray> filesOnDisk() const;

    std::unique_ptr<QTemporaryDir> dir;
};

void FrmLoadoutsTest::init() {
    dir = makeSystemFolder();
    QVERIFY(dir->isValid());
    useSystemFolder(*dir);
    Startup::setLoadoutsReadHook(&FrmLoadouts::loadoutsFileRead);
    Startup::LoadoutsSaved = false;
    MsgBoxTesting::startRecording();
    Startup::LoadIniFiles();
}

void FrmLoadoutsTest::cleanup() {
    unloadAllForms();
    MsgBoxTesting::stopRecording();
    Startup::setLoadoutsReadHook({});
    dir.reset();
}

FrmLoadouts* FrmLoadoutsTest::openFromMainMenu() {
    FrmMainMenu::form().show();
    FrmMainMenu::form().cmdeditloadouts_Click();
    FrmLoadouts* window = FrmLoadouts::existing();
    if (window && window->isVisible())
        static_cast<void>(QTest::qWaitForWindowActive(window));
    return window;
}

QLineEdit* FrmLoadoutsTest::box(const QString& name) const {
    return FrmLoadouts::existing()->findChild<QLineEdit*>(name);
}

QPushButton* FrmLoadoutsTest::button(const char* name) const {
    return FrmLoadouts::existing()->findChild<QPushButton*>(QString::fromLatin1(name));
}

QCheckBox* FrmLoadoutsTest::checkBox() const {
    return FrmLoadouts::existing()->findChild<QCheckBox*>(QStringLiteral("chkforcebuy"));
}

QTimer* FrmLoadoutsTest::loadTimer() const {
    return FrmLoadouts::existing()->findChild<QTimer*>(QStringLiteral("tmrload"));
}

QList<QByteArray> FrmLoadoutsTest::filesOnDisk() const {
    QList<QByteArray> files;
    for (const QString& name : FileNames)
        files.append(readFile(filePath(name)));
    return files;
}

// --- Creation by the load ---

void FrmLoadoutsTest::load_createsWindowHiddenInSavedState_andItFillsItself() {
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Ok); // answers a message that should not come
    FrmLoadouts* window = FrmLoadouts::existing();
    QVERIFY(window);
    QVERIFY(!window->isVisible());
    QVERIFY(!button("cmdsave")->isEnabled());
    QVERIFY(Startup::LoadoutsSaved);
    QVERIFY(loadTimer()->isSingleShot());
    QCOMPARE(loadTimer()->interval(), 50);
    QTRY_COMPARE(box("txtthief1")->text(), QStringLiteral("Shadow Runner"));
    QVERIFY(!loadTimer()->isActive());
    QCOMPARE(box("txtguard4")->text(), QStringLiteral("Lantern Bearer"));
    QVERIFY(checkBox()->isChecked());
    QVERIFY(!button("cmdsave")->isEnabled());
    QVERIFY(Startup::LoadoutsSaved);
    QVERIFY(!window->isVisible());
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
}

void FrmLoadoutsTest::controls_haveTheirCaptionsFacesAndLimits() {
    FrmLoadouts* window = openFromMainMenu();
    QCOMPARE(window->windowTitle(), QStringLiteral("Brackens' Quillon Tool"));
    QCOMPARE(window->findChild<QLabel*>("Label1")->text(), QStringLiteral("Loadout Names"));
    QCOMPARE(window->findChild<QGroupBox*>("Frame1")->title(), QStringLiteral("Thief"));
    QCOMPARE(window->findChild<QGroupBox*>("Frame2")->title(), QStringLiteral("Guard"));
    QCOMPARE(checkBox()->text(), QStringLiteral("Force Buying?"));
    QCOMPARE(checkBox()->toolTip(),
             QStringLiteral("If you tick this box then you will be forced to buy equipment or "
                            "choose a loadout before you start playing."));
    QCOMPARE(button("cmdload")->text(), QStringLiteral("Discard changes"));
    QCOMPARE(button("cmdsave")->text(), QStringLiteral("Save"));
    QCOMPARE(button("cmdexit")->text(), QStringLiteral("Exit"));
    // The face is drawn in that colour, not only asked for: Windows' own style would ignore it.
    QVERIFY(QTest::qWaitForWindowExposed(window));
    for (const char* name : {"cmdload", "cmdsave", "cmdexit"})
        QVERIFY2(yellowShare(button(name)->grab().toImage()) >= 0.5, name);
    // The guard boxes stand to the right of the thief boxes, each column from 1 at the top.
    QVERIFY(box("txtthief1")->geometry().top() < box("txtthief2")->geometry().top());
    QVERIFY(box("txtthief1")->geometry().right() < box("txtguard1")->geometry().left());
    QCOMPARE(box("txtthief4")->geometry().top(), box("txtguard4")->geometry().top());
}

// --- Opening, editing and leaving ---

void FrmLoadoutsTest::opening_showsValuesWithSaveDisabled_andExitLeavesWithoutPrompt() {
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Cancel); // would keep the window, if anything asked
    FrmLoadouts* window = openFromMainMenu();
    QVERIFY(window->isVisible());
    QVERIFY(!FrmMainMenu::form().isVisible());
    QCOMPARE(box("txtthief2")->text(), QStringLiteral("Rope and Arrows"));
    QCOMPARE(box("txtguard1")->text(), QStringLiteral("Night Watch"));
    QVERIFY(!button("cmdsave")->isEnabled());

    QPointer<FrmLoadouts> guard(window);
    QTest::mouseClick(button("cmdexit"), Qt::LeftButton);
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
    QVERIFY(FrmMainMenu::form().isVisible());
    QVERIFY(!FrmLoadouts::existing());
    QTRY_VERIFY(guard.isNull());
}

void FrmLoadoutsTest::anyEdit_enablesSave_andExitAsks_data() {
    QTest::addColumn<QString>("edit");
    QTest::newRow("one character in a thief box") << "thief";
    QTest::newRow("one character in a guard box") << "guard";
    QTest::newRow("check box clicked") << "check";
    QTest::newRow("check box clicked twice") << "check twice";
    QTest::newRow("character typed and deleted") << "type and delete";
}

void FrmLoadoutsTest::anyEdit_enablesSave_andExitAsks() {
    QFETCH(QString, edit);
    FrmLoadouts* window = openFromMainMenu();
    if (edit == "thief") {
        QTest::keyClicks(box("txtthief3"), "x");
    } else if (edit == "guard") {
        QTest::keyClicks(box("txtguard4"), "x");
    } else if (edit == "check") {
        QTest::mouseClick(checkBox(), Qt::LeftButton);
    } else if (edit == "check twice") {
        QTest::mouseClick(checkBox(), Qt::LeftButton);
        QTest::mouseClick(checkBox(), Qt::LeftButton);
        QVERIFY(checkBox()->isChecked());
    } else {
        QLineEdit* name = box("txtguard2");
        name->end(false);
        QTest::keyClicks(name, "x");
        QTest::keyClick(name, Qt::Key_Backspace);
        QCOMPARE(name->text(), QStringLiteral("Crossbow Sentry"));
    }
    QVERIFY(button("cmdsave")->isEnabled());
    QVERIFY(!Startup::LoadoutsSaved);

    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Cancel);
    QTest::mouseClick(button("cmdexit"), Qt::LeftButton);
    verifyAskedToSaveBeforeExiting();
    QVERIFY(window->isVisible());
}

void FrmLoadoutsTest::exitPromptCancel_keepsWindowAndEdits() {
    FrmLoadouts* window = openFromMainMenu();
    box("txtthief1")->selectAll();
    QTest::keyClicks(box("txtthief1"), "Climber");
    const auto disk = filesOnDisk();
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Cancel);
    QTest::mouseClick(button("cmdexit"), Qt::LeftButton);
    QCOMPARE(FrmLoadouts::existing(), window);
    QVERIFY(window->isVisible());
    QVERIFY(!FrmMainMenu::form().isVisible());
    QCOMPARE(box("txtthief1")->text(), QStringLiteral("Climber"));
    QVERIFY(button("cmdsave")->isEnabled());
    QVERIFY(!Startup::LoadoutsSaved);
    QCOMPARE(filesOnDisk(), disk);
}

void FrmLoadoutsTest::exitPromptNo_leaves_andNextOpeningShowsOldValues() {
    openFromMainMenu();
    box("txtthief1")->selectAll();
    QTest::keyClicks(box("txtthief1"), "Climber");
    QTest::mouseClick(checkBox(), Qt::LeftButton);
    const auto disk = filesOnDisk();
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::No);
    QTest::mouseClick(button("cmdexit"), Qt::LeftButton);
    QVERIFY(!FrmLoadouts::existing());
    QVERIFY(FrmMainMenu::form().isVisible());
    QVERIFY(!Startup::LoadoutsSaved);
    QCOMPARE(filesOnDisk(), disk);

    openFromMainMenu();
    QCOMPARE(box("txtthief1")->text(), QStringLiteral("Shadow Runner"));
    QVERIFY(checkBox()->isChecked());
    QVERIFY(!button("cmdsave")->isEnabled());
}

void FrmLoadoutsTest::exitPromptYes_writesAllFiveFilesBeforeLeaving() {
    // Files with lone LF endings: a file that was written comes back with CR LF.
    for (const QString& name : FileNames) {
        QByteArray bytes = readFile(filePath(name));
        writeFile(filePath(name), bytes.replace("\r\n", "\n"));
    }
    Startup::LoadIniFiles();
    openFromMainMenu();
    box("txtguard3")->selectAll();
    QTest::keyClicks(box("txtguard3"), "Torch Bearer");
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Yes);
    QTest::mouseClick(button("cmdexit"), Qt::LeftButton);

    QVERIFY(!FrmLoadouts::existing());
    QVERIFY(FrmMainMenu::form().isVisible());
    QVERIFY(Startup::LoadoutsSaved);
    QCOMPARE(lineOnDisk(filePath("QLLoadouts.ini"), 8),
             std::string("GuardLoadout[2]=Torch Bearer"));
    for (const QString& name : FileNames) {
        const QByteArray bytes = readFile(filePath(name));
        QVERIFY2(bytes.contains("\r\n") && bytes.count('\n') == bytes.count("\r\n"),
                 qPrintable(name));
    }
}

void FrmLoadoutsTest::closingByFrame_runsTheExitSequence() {
    FrmLoadouts* window = openFromMainMenu();
    QTest::keyClicks(box("txtthief4"), "!");
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Cancel);
    window->close();
    QCOMPARE(MsgBoxTesting::takeCalls().size(), 1);
    QVERIFY(window->isVisible());
    QVERIFY(!FrmMainMenu::form().isVisible());

    MsgBoxTesting::queueAnswer(MsgBoxAnswer::No);
    window->close();
    QCOMPARE(MsgBoxTesting::takeCalls().size(), 1);
    QVERIFY(!FrmLoadouts::existing());
    QVERIFY(FrmMainMenu::form().isVisible());
}

void FrmLoadoutsTest::save_writesAndDisablesItself() {
    openFromMainMenu();
    const QByteArray modBefore = readFile(filePath("QuillonMod.ini"));
    box("txtthief2")->selectAll();
    QTest::keyClicks(box("txtthief2"), "  Rope =and= Arrows ");
    QTest::mouseClick(checkBox(), Qt::LeftButton);
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);

    QVERIFY(!button("cmdsave")->isEnabled());
    QVERIFY(Startup::LoadoutsSaved);
    QCOMPARE(lineOnDisk(filePath("QLLoadouts.ini"), 3),
             std::string("ThiefLoadout[1]=  Rope =and= Arrows "));
    QCOMPARE(lineOnDisk(filePath("QuillonMod.ini"), 22), std::string("bForceBuying=False"));
    QCOMPARE(readFile(filePath("QuillonMod.ini")),
             QByteArray(modBefore).replace("bForceBuying=True", "bForceBuying=False"));
    // No name of the program's own stays beside the files.
    QStringList names = FileNames;
    names.sort();
    QCOMPARE(QDir(dir->path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDir::Name),
             names);

    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Cancel);
    QTest::mouseClick(button("cmdexit"), Qt::LeftButton);
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
    QVERIFY(!FrmLoadouts::existing());
}

void FrmLoadoutsTest::discard_restoresValuesInMemoryNotOnDisk() {
    openFromMainMenu();
    setLine(filePath("QLLoadouts.ini"), 2, "ThiefLoadout[0]=Changed on disk");
    box("txtthief1")->selectAll();
    QTest::keyClicks(box("txtthief1"), "Typed");
    QTest::mouseClick(checkBox(), Qt::LeftButton);
    QTest::mouseClick(button("cmdload"), Qt::LeftButton);

    QCOMPARE(box("txtthief1")->text(), QStringLiteral("Shadow Runner"));
    QVERIFY(checkBox()->isChecked());
    QVERIFY(!button("cmdsave")->isEnabled());
    QVERIFY(Startup::LoadoutsSaved);

    // Without edits, discarding changes nothing and leaves Save disabled.
    QTest::mouseClick(button("cmdload"), Qt::LeftButton);
    QVERIFY(!button("cmdsave")->isEnabled());
}

void FrmLoadoutsTest::focusIntoBox_selectsWholeText() {
    openFromMainMenu();
    box("txtthief1")->setFocus();
    QTest::keyClick(box("txtthief1"), Qt::Key_Tab);
    QVERIFY(box("txtthief2")->hasFocus());
    QCOMPARE(box("txtthief2")->selectedText(), QStringLiteral("Rope and Arrows"));

    // Typing then replaces the whole name.
    QTest::keyClicks(box("txtthief2"), "Grapple");
    QCOMPARE(box("txtthief2")->text(), QStringLiteral("Grapple"));

    QTest::mouseClick(box("txtguard2"), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(box("txtguard2")->hasFocus());
    QTRY_COMPARE(box("txtguard2")->selectedText(), QStringLiteral("Crossbow Sentry"));
}

void FrmLoadoutsTest::tabOrder_runsThroughBoxesCheckBoxAndButtons() {
    openFromMainMenu();
    QTest::keyClicks(box("txtthief1"), "x"); // enables Save, which takes the focus only then
    box("txtthief1")->setFocus();
    QStringList order{"txtthief1"};
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget()->objectName());
    }
    const QStringList expected =
        BoxNames + QStringList{"chkforcebuy", "cmdload", "cmdsave", "cmdexit", "txtthief1"};
    QCOMPARE(order, expected);
}

void FrmLoadoutsTest::typing_stopsAt30Characters_butLongerLoadedNameIsKeptWhole() {
    const std::string longName = "The Longest Loadout Name In The Whole Wide Guild";
    setLine(filePath("QLLoadouts.ini"), 6, "GuardLoadout[0]=" + longName);
    Startup::LoadIniFiles();
    openFromMainMenu();

    QLineEdit* thief = box("txtthief1");
    thief->selectAll();
    QTest::keyClicks(thief, QString(29, QLatin1Char('a')));
    QTest::keyClicks(thief, "bc");
    QCOMPARE(thief->text(), QString(29, QLatin1Char('a')) + "b");

    QLineEdit* guard = box("txtguard1");
    QCOMPARE(guard->text(), QString::fromStdString(longName));
    guard->end(false);
    QTest::keyClicks(guard, "x");
    QCOMPARE(guard->text(), QString::fromStdString(longName));
    QTest::keyClick(guard, Qt::Key_Backspace);
    QCOMPARE(guard->text(), QString::fromStdString(longName.substr(0, longName.size() - 1)));

    // Typing or deleting inside a name carries on at the cursor.
    QLineEdit* thief2 = box("txtthief2");
    thief2->setCursorPosition(4);
    QTest::keyClicks(thief2, "XY");
    QCOMPARE(thief2->text(), QStringLiteral("RopeXY and Arrows"));
    guard->setCursorPosition(4);
    QTest::keyClick(guard, Qt::Key_Backspace);
    QTest::keyClick(guard, Qt::Key_Backspace);
    QCOMPARE(guard->text(), QString::fromStdString("Th" + longName.substr(4, 43)));
    QCOMPARE(guard->cursorPosition(), 2);

    // A long name that is not edited goes back to the file whole.
    QTest::mouseClick(button("cmdload"), Qt::LeftButton);
    QTest::keyClicks(box("txtguard2"), "!");
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);
    QCOMPARE(lineOnDisk(filePath("QLLoadouts.ini"), 6), "GuardLoadout[0]=" + longName);
}

void FrmLoadoutsTest::failingSave_leavesSaveEnabledAndFilesUntouched() {
    openFromMainMenu();
    box("txtguard1")->end(false);
    QTest::keyClicks(box("txtguard1"), " Two");
    QVERIFY(QFile::setPermissions(filePath("QuillonAI.ini"), QFile::ReadOwner));
    const auto disk = filesOnDisk();

    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Ok);
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);
    auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QVERIFY2(calls[0].text.contains(filePath("QuillonAI.ini")), qPrintable(calls[0].text));
    QCOMPARE(calls[0].style & 0xF0, MsgBoxStyle::Critical);
    QVERIFY(button("cmdsave")->isEnabled());
    QVERIFY(!Startup::LoadoutsSaved);
    QCOMPARE(filesOnDisk(), disk);
    QCOMPARE(Startup::QlLoadoutsArray[5], std::string("GuardLoadout[0]=Night Watch"));

    // Yes at the exit prompt with the save failing keeps the window and its edits.
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Yes);
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Ok);
    QTest::mouseClick(button("cmdexit"), Qt::LeftButton);
    QCOMPARE(MsgBoxTesting::takeCalls().size(), 2);
    QVERIFY(FrmLoadouts::existing() && FrmLoadouts::existing()->isVisible());
    QCOMPARE(box("txtguard1")->text(), QStringLiteral("Night Watch Two"));
    QCOMPARE(filesOnDisk(), disk);

    // Once the file is writable again, Save succeeds.
    QVERIFY(QFile::setPermissions(filePath("QuillonAI.ini"), QFile::ReadOwner | QFile::WriteOwner));
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);
    QVERIFY(!button("cmdsave")->isEnabled());
    QCOMPARE(lineOnDisk(filePath("QLLoadouts.ini"), 6),
             std::string("GuardLoadout[0]=Night Watch Two"));
}

void FrmLoadoutsTest::characterOutsideCodePage_isRefusedNamingTheBox() {
    openFromMainMenu();
    box("txtthief3")->selectAll();
    QTest::keyClicks(box("txtthief3"), "Gas ");
    QTest::sendKeyEvent(QTest::Click, box("txtthief3"), Qt::Key_O, QStringLiteral("\u03a9"),
                        Qt::NoModifier);
    QCOMPARE(box("txtthief3")->text(), QStringLiteral("Gas \u03a9"));
    const auto disk = filesOnDisk();
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Ok);
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);
    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QVERIFY2(calls[0].text.contains("Thief loadout 3"), qPrintable(calls[0].text));
    QVERIFY(button("cmdsave")->isEnabled());
    QCOMPARE(filesOnDisk(), disk);
}

// --- Loads that fail, and loads after them ---

void FrmLoadoutsTest::failedLoad_changesNothing_andNextLoadFillsWindow() {
    unloadAllForms();
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Ok); // answers a message that should not come
    const LineArray loaded = Startup::QlLoadoutsArray;
    auto broken = makeSystemFolder();
    setLine(broken->filePath("QLLoadouts.ini"), 2, "ThiefLoadout[0]=From the broken folder");
    QFile::remove(broken->filePath("QuillonUser.ini"));
    useSystemFolder(*broken);
    QVERIFY_THROWS_EXCEPTION(std::exception, Startup::LoadIniFiles());
    QVERIFY(Startup::QlLoadoutsArray == loaded);
    QVERIFY(!FrmLoadouts::existing()); // a failed load does not reach the window
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());

    // A later load that succeeds creates the hidden window, which fills itself from the arrays.
    useSystemFolder(*dir);
    Startup::LoadIniFiles();
    QTRY_COMPARE(box("txtthief1")->text(), QStringLiteral("Shadow Runner"));
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
    openFromMainMenu();
    QCOMPARE(box("txtthief1")->text(), QStringLiteral("Shadow Runner"));
    QVERIFY(!button("cmdsave")->isEnabled());
}

void FrmLoadoutsTest::unreadableLoadouts_keepEditorClosed() {
    unloadAllForms();
    setLine(filePath("QLLoadouts.ini"), 4, "Short");
    MsgBoxTesting::queueAnswer(MsgBoxAnswer::Ok);
    Startup::LoadIniFiles();
    QTRY_VERIFY(!loadTimer()->isActive()); // the hidden window's timer tells nobody
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());

    FrmMainMenu::form().show();
    FrmMainMenu::form().cmdeditloadouts_Click();
    const auto calls = MsgBoxTesting::takeCalls();
    QCOMPARE(calls.size(), 1);
    QVERIFY2(calls[0].text.contains("line 4 of QLLoadouts.ini"), qPrintable(calls[0].text));
    QVERIFY2(calls[0].text.contains(filePath("QLLoadouts.ini")), qPrintable(calls[0].text));
    QVERIFY(!FrmLoadouts::existing()->isVisible());
    QVERIFY(FrmMainMenu::form().isVisible());
}

QTEST_MAIN(FrmLoadoutsTest)
#include "FrmLoadoutsTest.moc"

// --- One line per box ---

void FrmLoadoutsTest::pastedOrDroppedText_keepsItsFirstLineOnly_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("drop");
    QTest::newRow("two lines pasted") << QStringLiteral("Grapple\r\nHook") << false;
    QTest::newRow("trailing line break pasted") << QStringLiteral("Grapple\n") << false;
    QTest::newRow("two lines dropped") << QStringLiteral("Grapple\nHook\rLine") << true;
}

void FrmLoadoutsTest::pastedOrDroppedText_keepsItsFirstLineOnly() {
    QFETCH(QString, text);
    QFETCH(bool, drop);
    openFromMainMenu();
    QLineEdit* edit = box("txtthief2");
    edit->setFocus();
    edit->selectAll();
    if (drop) {
        QMimeData data;
        data.setText(text);
        const QPoint at(edit->width() - 2, edit->height() / 2); // after the name
        edit->clear();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(edit, &enter);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(edit, &dropped);
    } else {
        QApplication::clipboard()->setText(text);
        QTest::keySequence(edit, QKeySequence::Paste);
    }
    QCOMPARE(edit->text(), QStringLiteral("Grapple"));

    const QByteArray before = readFile(filePath("QLLoadouts.ini"));
    QTest::mouseClick(button("cmdsave"), Qt::LeftButton);
    QVERIFY(MsgBoxTesting::takeCalls().isEmpty());
    const QByteArray after = readFile(filePath("QLLoadouts.ini"));
    QCOMPARE(after.count('\n'), before.count('\n'));
    QCOMPARE(lineOnDisk(filePath("QLLoadouts.ini"), 3), std::string("ThiefLoadout[1]=Grapple"));
}

void FrmLoadoutsTest::contextMenuPaste_insertsAtTheCursor() {
    openFromMainMenu();
    QLineEdit* edit = box("txtthief2");
    QTest::keyClick(box("txtthief1"), Qt::Key_Tab); // selects the whole name
    edit->setCursorPosition(4);                     // then a click places the cursor
    QApplication::clipboard()->setText(QStringLiteral(" Ladder"));

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    // Choosing Paste closes the menu, which gives the focus back to the box, then pastes.
    QTest::keyClick(menu, Qt::Key_P); // "&Paste"
    QCOMPARE(edit->text(), QStringLiteral("Rope Ladder and Arrows"));
}
