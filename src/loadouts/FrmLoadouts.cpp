#include "loadouts/FrmLoadouts.h"

#include "store/Startup.h"
#include "widgets/Controls.h"
#include "widgets/EditBox.h"
#include "widgets/FileErrorBox.h"
#include "widgets/FormLayout.h"
#include "widgets/MainMenuLink.h"
#include "widgets/MsgBox.h"
#include "widgets/TypingLimit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <memory>

using namespace FormLayout;

namespace {

constexpr int ExitPromptStyle =
    MsgBoxStyle::YesNoCancel | MsgBoxStyle::Critical | MsgBoxStyle::DefaultButton2;
static_assert(ExitPromptStyle == 275);

const QColor ButtonFace(0xC0, 0xC0, 0x00);

struct BoxPlace {
    const char* name;
    int left;
    int top;
    void (FrmLoadouts::*change)();
    void (FrmLoadouts::*gotFocus)();
};

// In box order: thief 1 to 4, then guard 1 to 4. Positions in twips within the client area.
const std::array<BoxPlace, Functions::LoadoutCount> Boxes{{
    {"txtthief1", 240, 1080, &FrmLoadouts::txtthief1_Change, &FrmLoadouts::txtthief1_gotfocus},
    {"txtthief2", 240, 1560, &FrmLoadouts::txtthief2_Change, &FrmLoadouts::txtthief2_gotfocus},
    {"txtthief3", 240, 2040, &FrmLoadouts::txtthief3_Change, &FrmLoadouts::txtthief3_gotfocus},
    {"txtthief4", 240, 2520, &FrmLoadouts::txtthief4_Change, &FrmLoadouts::txtthief4_gotfocus},
    {"txtguard1", 2400, 1080, &FrmLoadouts::txtguard1_Change, &FrmLoadouts::txtguard1_gotfocus},
    {"txtguard2", 2400, 1560, &FrmLoadouts::txtguard2_Change, &FrmLoadouts::txtguard2_gotfocus},
    {"txtguard3", 2400, 2040, &FrmLoadouts::txtguard3_Change, &FrmLoadouts::txtguard3_gotfocus},
    {"txtguard4", 2400, 2520, &FrmLoadouts::txtguard4_Change, &FrmLoadouts::txtguard4_gotfocus},
}};

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    return Controls::makeFrame(parent, name, caption, geometry, timesFont(9.75));
}

// Windows' own button style ignores a face colour, so the yellow buttons are drawn in the Fusion
// style, which honours it everywhere. The application owns the style, so it outlives every window.
QStyle* buttonFaceStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = QStyleFactory::create(QStringLiteral("Fusion"));
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

// A button with the dark yellow face.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* button = Controls::makeButton(parent, name, caption, geometry, timesFont(9));
    button->setStyle(buttonFaceStyle());
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, ButtonFace);
    button->setPalette(palette);
    return button;
}

void showRefusal(const Functions::LoadoutsRefused& refusal) {
    QString text = QString::fromStdString(refusal.problem());
    if (!refusal.path().empty())
        text += QStringLiteral("\n\nFile: ") + QString::fromStdString(refusal.path());
    MsgBox(text, MsgBoxStyle::Critical);
}

} // namespace

void FrmLoadouts::loadoutsFileRead() {
    FrmLoadouts& window = form();
    window.disableSave();
    Startup::LoadoutsSaved = true;
    // Fills from the arrays once the load has returned, as a window being loaded does.
    window.filled = false;
    window.tmrload.start();
}

FrmLoadouts::~FrmLoadouts() = default;

FrmLoadouts::FrmLoadouts() : tmrload(this) {
    setObjectName(QStringLiteral("FrmLoadouts"));
    setWindowTitle(AppCaption);
    setClientSizeTwips(this, 4455, 4335);

    Label1 = new QLabel(QStringLiteral("Loadout Names"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipRect(120, 120, 4215, 495));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(timesFont(21.75, true));

    Frame1 = makeFrame(this, "Frame1", QStringLiteral("Thief"), twipRect(120, 720, 2055, 2295));
    Frame2 = makeFrame(this, "Frame2", QStringLiteral("Guard"), twipRect(2280, 720, 2055, 2295));

    // The boxes lie on the frames but belong to the window, so they keep its default font.
    for (std::size_t k = 0; k < Functions::LoadoutCount; ++k) {
        const BoxPlace& place = Boxes[k];
        auto* box = Controls::makeBox(this, place.name, twipRect(place.left, place.top, 1815, 285),
                                      Functions::LoadoutTypingLimit);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, Qt::white);
        box->setPalette(palette);
        box->installEventFilter(this);
        loadoutBoxes[k] = box;
        // Named as a sighted user reads it: the frame the box lies on and its place there.
        constexpr std::size_t PerTeam = Functions::LoadoutCount / 2;
        Controls::nameControl(box, QStringLiteral("%1 Loadout %2")
                                       .arg((k < PerTeam ? Frame1 : Frame2)->title())
                                       .arg(k % PerTeam + 1));
        connect(box, &QLineEdit::textChanged, this, place.change);
    }

    chkforcebuy = new QCheckBox(QStringLiteral("Force Buying?"), this);
    chkforcebuy->setObjectName(QStringLiteral("chkforcebuy"));
    chkforcebuy->setGeometry(twipRect(1560, 3240, 1695, 255));
    chkforcebuy->setFont(timesFont(9.75));
    chkforcebuy->setToolTip(
        QStringLiteral("If you tick this box then you will be forced to buy equipment or choose "
                       "a loadout before you start playing."));
    connect(chkforcebuy, &QCheckBox::toggled, this, &FrmLoadouts::chkforcebuy_Click);

    cmdload = makeButton(this, "cmdload", QStringLiteral("Discard changes"),
                         twipRect(240, 3600, 975, 615));
    cmdsave = makeButton(this, "cmdsave", QStringLiteral("Save"), twipRect(1680, 3600, 975, 615));
    cmdexit = makeButton(this, "cmdexit", QStringLiteral("Exit"), twipRect(3120, 3600, 975, 615));
    cmdsave->setEnabled(false);
    connect(cmdload, &QPushButton::clicked, this, &FrmLoadouts::cmdload_Click);
    connect(cmdsave, &QPushButton::clicked, this, &FrmLoadouts::cmdsave_Click);
    connect(cmdexit, &QPushButton::clicked, this, &FrmLoadouts::cmdexit_Click);

    QWidget* previous = loadoutBoxes[0];
    for (std::size_t k = 1; k < Functions::LoadoutCount; ++k) {
        setTabOrder(previous, loadoutBoxes[k]);
        previous = loadoutBoxes[k];
    }
    for (QWidget* next : {static_cast<QWidget*>(chkforcebuy), static_cast<QWidget*>(cmdload),
                          static_cast<QWidget*>(cmdsave), static_cast<QWidget*>(cmdexit)}) {
        setTabOrder(previous, next);
        previous = next;
    }
    loadoutBoxes[0]->setFocus();

    tmrload.setObjectName(QStringLiteral("tmrload"));
    tmrload.setSingleShot(true);
    tmrload.setInterval(50);
    connect(&tmrload, &QTimer::timeout, this, &FrmLoadouts::tmrload_Timer);
    tmrload.start();

    centreOnScreen(this);
}

bool FrmLoadouts::showForEditing() {
    if (!filled && !fillFromArrays(true))
        return false;
    show();
    raise();
    activateWindow();
    // Opening the window moves the focus into its first box as Tab would.
    if (auto* box = qobject_cast<QLineEdit*>(focusWidget()))
        box->selectAll();
    return true;
}

std::u16string FrmLoadouts::loadoutText(std::size_t box) const {
    return loadoutBoxes.at(box)->text().toStdU16String();
}

void FrmLoadouts::setLoadoutText(std::size_t box, const std::u16string& text) {
    setTextWhole(loadoutBoxes.at(box), QString::fromStdU16String(text));
}

int FrmLoadouts::forceBuyValue() const {
    return chkforcebuy->isChecked() ? 1 : 0;
}

void FrmLoadouts::setForceBuyValue(int value) {
    chkforcebuy->setChecked(value == 1);
}

void FrmLoadouts::disableSave() {
    cmdsave->setEnabled(false);
}

void FrmLoadouts::tmrload_Timer() {
    tmrload.stop();
    // A hidden window tells nobody: it is filled, or refuses with a message, when it is opened.
    if (!filled)
        fillFromArrays(isVisible());
}

void FrmLoadouts::markChanged() {
    cmdsave->setEnabled(true);
    Startup::LoadoutsSaved = false;
}

void FrmLoadouts::txtthief1_Change() {
    markChanged();
}
void FrmLoadouts::txtthief2_Change() {
    markChanged();
}
void FrmLoadouts::txtthief3_Change() {
    markChanged();
}
void FrmLoadouts::txtthief4_Change() {
    markChanged();
}
void FrmLoadouts::txtguard1_Change() {
    markChanged();
}
void FrmLoadouts::txtguard2_Change() {
    markChanged();
}
void FrmLoadouts::txtguard3_Change() {
    markChanged();
}
void FrmLoadouts::txtguard4_Change() {
    markChanged();
}
void FrmLoadouts::chkforcebuy_Click() {
    markChanged();
}

void FrmLoadouts::selectWholeText(std::size_t box) {
    QLineEdit* edit = loadoutBoxes[box];
    edit->selectAll();
    // A mouse press places the cursor after the focus arrives; select again once it has.
    QTimer::singleShot(0, edit, [edit] {
        if (edit->hasFocus())
            edit->selectAll();
    });
}

void FrmLoadouts::txtthief1_gotfocus() {
    selectWholeText(0);
}
void FrmLoadouts::txtthief2_gotfocus() {
    selectWholeText(1);
}
void FrmLoadouts::txtthief3_gotfocus() {
    selectWholeText(2);
}
void FrmLoadouts::txtthief4_gotfocus() {
    selectWholeText(3);
}
void FrmLoadouts::txtguard1_gotfocus() {
    selectWholeText(4);
}
void FrmLoadouts::txtguard2_gotfocus() {
    selectWholeText(5);
}
void FrmLoadouts::txtguard3_gotfocus() {
    selectWholeText(6);
}
void FrmLoadouts::txtguard4_gotfocus() {
    selectWholeText(7);
}

bool FrmLoadouts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn &&
        EditBox::focusEntersFromAnotherControl(*static_cast<QFocusEvent*>(event))) {
        for (std::size_t k = 0; k < Functions::LoadoutCount; ++k)
            if (watched == loadoutBoxes[k])
                (this->*Boxes[k].gotFocus)();
    }
    return QWidget::eventFilter(watched, event);
}

void FrmLoadouts::cmdsave_Click() {
    saveLoadouts();
}

void FrmLoadouts::cmdload_Click() {
    fillFromArrays(true);
}

void FrmLoadouts::cmdexit_Click() {
    if (!Startup::LoadoutsSaved) {
        const int answer = MsgBox(QStringLiteral("Do you wish to save before exiting?"),
                                  ExitPromptStyle, QStringLiteral("Changes not saved!"));
        if (answer == MsgBoxAnswer::Cancel)
            return;
        // A save that fails keeps the window open with its edits, so they are not lost.
        if (answer == MsgBoxAnswer::Yes && !saveLoadouts())
            return;
    }
    leave();
}

void FrmLoadouts::closeEvent(QCloseEvent* event) {
    // Closing by the frame is Exit: the window goes only the way Exit lets it go.
    event->ignore();
    cmdexit_Click();
}

bool FrmLoadouts::fillFromArrays(bool reportRefusal) {
    try {
        Functions::ReadLoadouts(*this);
        filled = true;
        return true;
    } catch (const Functions::LoadoutsRefused& refusal) {
        if (reportRefusal)
            showRefusal(refusal);
    } catch (const std::exception& error) {
        if (reportRefusal)
            showError(QStringLiteral("The loadouts cannot be read."), error);
    }
    return false;
}

bool FrmLoadouts::saveLoadouts() {
    try {
        Functions::WriteLoadouts(*this);
        filled = true;
        return true;
    } catch (const Functions::LoadoutsRefused& refusal) {
        showRefusal(refusal);
    } catch (const Startup::SaveDeclined&) {
        // The user chose to keep the files another program wrote, or not to save while the game
        // runs; the edits stay unsaved.
    } catch (const std::exception& error) {
        showError(QStringLiteral("The loadouts could not be saved. No settings file has changed; "
                                 "your edits are still in the window."),
                  error);
    }
    return false;
}

void FrmLoadouts::leave() {
    MainMenuLink::show();
    hide();
    // This runs inside one of the window's own handlers: destroy it once that is done.
    FormInstance<FrmLoadouts>::discardLater(this);
}
