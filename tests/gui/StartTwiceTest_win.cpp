#include "ScratchPrefix.h"
#include "app/Forms.h"
#include "app/FrmMainMenu.h"

#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <windows.h>

namespace {

const QString Caption = QStringLiteral("Brackens' Quillon Tool");
const QString ToolPath = QStringLiteral(QUILLON_TOOL_PATH);

// The process's visible top-level window with the windows' caption: the main menu, as the
// splash has none. Null while it has none.
HWND captionedWindowOf(qint64 pid) {
    struct Search {
        DWORD pid;
        HWND found = nullptr;
    } search{static_cast<DWORD>(pid)};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t title[64] = {};
            GetWindowTextW(window, title, 64);
            if (owner != search.pid || !IsWindowVisible(window) ||
                QString::fromWCharArray(title) != Caption)
                return TRUE;
            search.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// What the window's client area shows on the screen.
QImage onScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, origin.x, origin.y, client.right, client.bottom)
        .toImage();
}

// The lightness of the darkest pixel within the area.
int darkestLightness(const QImage& image, const QRect& area) {
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            darkest = qMin(darkest, image.pixelColor(x, y).lightness());
    return darkest;
}

QString fileVersionText(const QString& file, const wchar_t* name) {
    const auto path = reinterpret_cast<const wchar_t*>(file.utf16());
    std::vector<char> info(GetFileVersionInfoSizeW(path, nullptr));
    if (info.empty() || !GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()))
        return {};
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), query.c_str(), &value, &length) || length == 0)
        return {};
    return QString::fromWCharArray(static_cast<const wchar_t*>(value), length - 1);
}

} // namespace

// Starts the real program as a player does, in the test run's own Wine prefix, and watches it
// from outside as a player would: its window through the system's window list, and whether
// its buttons are on through what the screen shows of them (Qt's controls are not windows of
// their own that the system could be asked about).
class StartTwiceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Where the main menu's buttons lie, from the program's own layout code.
        for (const char* name : {"cmdsetqldir", "cmdeditloadouts", "cmdeditmisc"}) {
            FrmMainMenu& menu = FrmMainMenu::form();
            auto* button = menu.findChild<QPushButton*>(QString::fromLatin1(name));
            QVERIFY(button);
            // Inside the frame and bevel the style draws round a button: only its caption is dark.
            buttons[name] =
                QRect(button->mapTo(&menu, QPoint(0, 0)), button->size()).adjusted(4, 4, -4, -4);
        }
        unloadAllForms();
        // An enabled caption is drawn darker than a disabled one: its darkest pixel tells them
        // apart at half way.
        const QPalette palette = QGuiApplication::palette();
        const int on = palette.color(QPalette::Active, QPalette::ButtonText).lightness();
        const int off = palette.color(QPalette::Disabled, QPalette::ButtonText).lightness();
        QVERIFY2(off - on >= 64, "disabled captions do not look lighter than enabled ones");
        darkAtMost = (on + off) / 2;
    }

    void firstStartFindsTheGameByItself_andASecondEndsAtOnce() {
        // Found only through the registry: the folder is none of the fixed candidates.
        ScratchPrefix prefix;
        prefix.driveCFolderWithSampleFiles(QStringLiteral("Quillon Start Test/System"));
        prefix.registerInstallFolder(QStringLiteral("C:\\Quillon Start Test"));

        QProcess first;
        first.start(ToolPath, {});
        QVERIFY(first.waitForStarted(10000));
        HWND menu = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((menu = captionedWindowOf(first.processId())), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(looksFound(onScreen(menu)), 30000);

        QProcess second;
        second.start(ToolPath, {});
        QVERIFY(second.waitForStarted(10000));
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);

        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(captionedWindowOf(first.processId()), menu);
        QVERIFY(looksFound(onScreen(menu)));
        first.kill();
        QVERIFY(first.waitForFinished(10000));
    }

    void withoutTheGameTheMenuWaitsForAFolder() {
        // The test run's prefix holds no game and the registry names none.
        QProcess tool;
        tool.start(ToolPath, {});
        QVERIFY(tool.waitForStarted(10000));
        HWND menu = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((menu = captionedWindowOf(tool.processId())), 30000);
        // Until the window has drawn itself, the screen may still show the one before it.
        QTRY_VERIFY_WITH_TIMEOUT(looksOn(onScreen(menu), "cmdsetqldir"), 30000);
        QTest::qWait(1000); // the search runs 50 ms after the menu appears
        const QImage shown = onScreen(menu);
        QVERIFY(looksOn(shown, "cmdsetqldir"));
        QVERIFY(!looksOn(shown, "cmdeditloadouts"));
        QVERIFY(!looksOn(shown, "cmdeditmisc"));
        tool.kill();
        QVERIFY(tool.waitForFinished(10000));
    }

    void programFileCarriesItsIconAndVersionForExplorer() {
        QVERIFY(ExtractIconExW(reinterpret_cast<const wchar_t*>(ToolPath.utf16()), -1, nullptr,
                               nullptr, 0) >= 1);
        QCOMPARE(fileVersionText(ToolPath, L"ProductName"),
                 QStringLiteral("Brackens' Quillon Tool"));
        QCOMPARE(fileVersionText(ToolPath, L"FileVersion"), QStringLiteral(QUILLON_VERSION));
    }

private:
    bool looksOn(const QImage& shown, const char* button) const {
        return darkestLightness(shown, buttons.value(button)) <= darkAtMost;
    }
    // The main menu's found state as the player sees it: both editors on, "Set" off.
    bool looksFound(const QImage& shown) const {
        return looksOn(shown, "cmdeditloadouts") && looksOn(shown, "cmdeditmisc") &&
               !looksOn(shown, "cmdsetqldir");
    }

    QHash<QByteArray, QRect> buttons;
    int darkAtMost = 0;
};

QTEST_MAIN(StartTwiceTest)
#include "StartTwiceTest_win.moc"
