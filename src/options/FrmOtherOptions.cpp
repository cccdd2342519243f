#include "options/FrmOtherOptions.h"

#include "options/OptionFields.h"
#include "platform/CodePage.h"
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
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <utility>

using namespace FormLayout;
using OptionFields::OptionValueRefused;

namespace {

const QString CacheTimeTip =
    QStringLiteral("Determines the number of days to store files which are downloaded from "
                   "servers (only relevant if 'Allow Downloads' is on).");

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    return Controls::makeFrame(parent, name, caption, geometry, timesFont(9.75));
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    return Controls::makeLabel(parent, name, caption, geometry, timesFont(11.25));
}

// A text box with the caption label beside it, which names it for screen readers.
QLineEdit* makeBox(QWidget* parent, const char* name, QLabel* caption, QRect geometry,
                   int typingLimit) {
    auto* box = Controls::makeBox(parent, name, geometry, typingLimit);
    Controls::nameByCaption(box, caption);
    box->setFont(timesFont(9.75));
    return box;
}

// Puts text into a box whole, raising no change notification when the box already holds it.
void setBoxText(QLineEdit* box, const QString& text) {
    if (box->text() == text)
        return;
    setTextWhole(box, text);
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    return Controls::makeCheck(parent, name, caption, geometry, timesFont(11.25));
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                        double points) {
    return Controls::makeButton(parent, name, caption, geometry, timesFont(points));
}

// The option controls of a window as the option field table addresses them, by row.
class OptionBoxes : public OptionFields::OptionControls {
public:
    explicit OptionBoxes(QWidget& window) {
        const auto& table = OptionFields::optionFieldTable();
        for (std::size_t row = 0; row < table.size(); ++row) {
            const auto name = QString::fromLatin1(
                table[row].control.data(), static_cast<qsizetype>(table[row].control.size()));
            controls_[row] = window.findChild<QWidget*>(name);
            Q_ASSERT(controls_[row]);
        }
    }

    std::u16string text(std::size_t row) const override {
        return box(row)->text().toStdU16String();
    }
    void setText(std::size_t row, const std::u16string& text) override {
        setBoxText(box(row), QString::fromStdU16String(text));
    }
    bool isChecked(std::size_t row) const override { return check(row)->isChecked(); }
    void setChecked(std::size_t row, bool checked) override {
        check(row)->setChecked(checked); // notifies only when the state changes
    }
    std::string tag(std::size_t row) const override {
        return controls_[row]->property("Tag").toString().toStdString();
    }
    void setTag(std::size_t row, const std::string& tag) override {
        controls_[row]->setProperty("Tag", QString::fromStdString(tag));
    }
    void showMessage(std::string_view message) override {
        MsgBox(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())),
               MsgBoxStyle::OkOnly);
    }

private:
    QLineEdit* box(std::size_t row) const { return qobject_cast<QLineEdit*>(controls_[row]); }
    QCheckBox* check(std::size_t row) const { return qobject_cast<QCheckBox*>(controls_[row]); }

    std::array<QWidget*, OptionFields::OptionFieldCount> controls_{};
};

QString refusalText(const OptionValueRefused& refused) {
    const auto& caption = refused.field().caption;
    const QString option =
        QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()));
    const QString text = QString::fromStdU16String(refused.text());
    if (refused.reason() == OptionValueRefused::Reason::NotANumber)
        return QStringLiteral("The settings were not saved.\n\n\"%1\" must be a number, but it "
                              "holds \"%2\".")
            .arg(option, text);
    if (refused.reason() == OptionValueRefused::Reason::LineBreak)
        return QStringLiteral("The settings were not saved.\n\n\"%1\" holds a line break, which "
                              "would split its line in two.")
            .arg(option);
    // A character beyond the first 65,536 takes two places of the text.
    const auto at = static_cast<qsizetype>(refused.badIndex());
    const qsizetype length = text.at(at).isHighSurrogate() ? 2 : 1;
    return QStringLiteral("The settings were not saved.\n\n\"%1\" holds the character \"%2\", "
                          "which the settings files cannot hold.")
        .arg(option, text.mid(at, length));
}

} // namespace

FrmOtherOptions& FrmOtherOptions::form() {
    const bool created = !existing();
    FrmOtherOptions& window = FormInstance<FrmOtherOptions>::get();
    if (created)
        window.Form_Load();
    return window;
}

FrmOtherOptions::~FrmOtherOptions() = default;

FrmOtherOptions::FrmOtherOptions() {
    setObjectName(QStringLiteral("FrmOtherOptions"));
    setWindowTitle(AppCaption);
    setClientSizeTwips(this, 8985, 4365);
    buildControls();
    connectHandlers();
    setTabOrderOfControls();
    cmdexit->setFocus();
    centreOnScreen(this);
}

void FrmOtherOptions::buildControls() {
    Frame1 = makeFrame(this, "Frame1", QStringLiteral("Player"), twipRect(120, 120, 4335, 1455));
    Label5 =
        makeLabel(Frame1, "Label5", QStringLiteral("Player Name"), twipRect(120, 360, 2295, 255));
    txtplayername = makeBox(Frame1, "txtplayername", Label5, twipRect(1440, 330, 2655, 315), 20);
    chkshowvispcent = makeCheck(Frame1, "chkshowvispcent", QStringLiteral("Show Visibility %?"),
                                twipRect(120, 720, 2055, 255));
    chkshowvispcent->setToolTip(QStringLiteral(
        "Shows your visibility as a percentage on-screen when you are playing as a thief."));
    chkshowlocinchat =
        makeCheck(Frame1, "chkshowlocinchat", QStringLiteral("Show Location in Chat Window?"),
                  twipRect(120, 1080, 3255, 255));

    Frame2 = makeFrame(this, "Frame2", QStringLiteral("System"), twipRect(120, 1680, 4335, 1095));
    Label1 = makeLabel(Frame2, "Label1", QStringLiteral("Cache Purge Time (days)"),
                       twipRect(120, 360, 2295, 255));
    Label1->setToolTip(CacheTimeTip);
    txtcachetime = makeBox(Frame2, "txtcachetime", Label1, twipRect(2520, 360, 495, 285), 3);
    txtcachetime->setToolTip(CacheTimeTip);
    chkallowdownloads = makeCheck(Frame2, "chkallowdownloads", QStringLiteral("Allow Downloads?"),
                                  twipRect(120, 720, 2895, 255));
    chkallowdownloads->setToolTip(
        QStringLiteral("Neened to let you download maps from a server if you don't have them "
                       "(also needed on a server to allow the downloading of maps)."));

    Frame4 = makeFrame(this, "Frame4", QStringLiteral("Misc. Controls"),
                       twipRect(120, 2880, 4335, 1335));
    chkmouseinvert = makeCheck(Frame4, "chkmouseinvert", QStringLiteral("Invert Mouse?"),
                               twipRect(120, 360, 1695, 255));
    Label8 = makeLabel(Frame4, "Label8", QStringLiteral("Mouse Sensitivity"),
                       twipRect(120, 720, 1575, 255));
    txtmousesensitivity =
        makeBox(Frame4, "txtmousesensitivity", Label8, twipRect(1800, 720, 495, 285), 4);

    Frame3 = makeFrame(this, "Frame3", QStringLiteral("Server"), twipRect(4560, 120, 4335, 3135));
    chkbalanceteams = makeCheck(Frame3, "chkbalanceteams", QStringLiteral("Balance Teams?"),
                                twipRect(120, 360, 2055, 255));
    chkbalanceteams->setToolTip(
        QStringLiteral("Determines whether teams must have equal numbers in them."));
    chklogipinchat = makeCheck(Frame3, "chklogipinchat", QStringLiteral("Log IP in Chat?"),
                               twipRect(120, 720, 1815, 255));
    Label2 =
        makeLabel(Frame3, "Label2", QStringLiteral("Time Limit"), twipRect(120, 1080, 1095, 255));
    txttimelimit = makeBox(Frame3, "txttimelimit", Label2, twipRect(1200, 1080, 495, 285), 3);
    Label3 = makeLabel(Frame3, "Label3", QStringLiteral("Guard Starting Loot"),
                       twipRect(120, 1440, 1815, 255));
    txtguardloot = makeBox(Frame3, "txtguardloot", Label3, twipRect(1920, 1440, 495, 285), 3);
    cmddefaultguardloot = makeButton(Frame3, "cmddefaultguardloot", QStringLiteral("Default"),
                                     twipRect(2520, 1440, 735, 315), 8.25);
    Label4 = makeLabel(Frame3, "Label4", QStringLiteral("Thief Starting Loot"),
                       twipRect(120, 1800, 1815, 255));
    txtthiefloot = makeBox(Frame3, "txtthiefloot", Label4, twipRect(1920, 1800, 495, 285), 3);
    cmddefaultthiefloot = makeButton(Frame3, "cmddefaultthiefloot", QStringLiteral("Default"),
                                     twipRect(2520, 1800, 735, 315), 8.25);
    // Both buttons say "Default": their names say for what.
    Controls::nameControl(cmddefaultguardloot, cmddefaultguardloot->text() + u' ' + Label3->text());
    Controls::nameControl(cmddefaultthiefloot, cmddefaultthiefloot->text() + u' ' + Label4->text());
    Label6 = makeLabel(Frame3, "Label6", QStringLiteral("Percent of Loot Dropped"),
                       twipRect(120, 2280, 2295, 255));
    txtlootdropped = makeBox(Frame3, "txtlootdropped", Label6, twipRect(2520, 2280, 495, 285), 3);
    Label7 = makeLabel(Frame3, "Label7", QStringLiteral("Percent to Pass Votes"),
                       twipRect(120, 2640, 2055, 255));
    txtpassvotes = makeBox(Frame3, "txtpassvotes", Label7, twipRect(2280, 2640, 495, 285), 3);

    cmdload = makeButton(this, "cmdload", QStringLiteral("Discard Changes"),
                         twipRect(4920, 3480, 975, 615), 9);
    cmdsave = makeButton(this, "cmdsave", QStringLiteral("Save Settings"),
                         twipRect(6240, 3480, 975, 615), 9);
    cmdexit =
        makeButton(this, "cmdexit", QStringLiteral("Exit"), twipRect(7560, 3480, 975, 615), 9);

    for (QWidget* frame : {Frame1, Frame2, Frame3, Frame4})
        Controls::keepCaptionsClear(frame);
}

void FrmOtherOptions::connectHandlers() {
    const std::pair<QLineEdit*, void (FrmOtherOptions::*)()> changes[] = {
        {txtplayername, &FrmOtherOptions::txtplayername_Change},
        {txtcachetime, &FrmOtherOptions::txtcachetime_Change},
        {txtmousesensitivity, &FrmOtherOptions::txtmousesensitivity_Change},
        {txttimelimit, &FrmOtherOptions::txttimelimit_Change},
        {txtguardloot, &FrmOtherOptions::txtguardloot_Change},
        {txtthiefloot, &FrmOtherOptions::txtthiefloot_Change},
        {txtlootdropped, &FrmOtherOptions::txtlootdropped_Change},
        {txtpassvotes, &FrmOtherOptions::txtpassvotes_Change},
    };
    for (const auto& [box, handler] : changes) {
        connect(box, &QLineEdit::textChanged, this, handler);
        box->installEventFilter(this);
    }
    // A check box's state changes by a click and by the program alike; both notify.
    const std::pair<QCheckBox*, void (FrmOtherOptions::*)()> clicks[] = {
        {chkshowvispcent, &FrmOtherOptions::chkshowvispcent_Click},
        {chkshowlocinchat, &FrmOtherOptions::chkshowlocinchat_Click},
        {chkallowdownloads, &FrmOtherOptions::chkallowdownloads_Click},
        {chkmouseinvert, &FrmOtherOptions::chkmouseinvert_Click},
        {chkbalanceteams, &FrmOtherOptions::chkbalanceteams_Click},
        {chklogipinchat, &FrmOtherOptions::chklogipinchat_Click},
    };
    for (const auto& [check, handler] : clicks)
        connect(check, &QCheckBox::toggled, this, handler);

    connect(cmddefaultguardloot, &QPushButton::clicked, this,
            &FrmOtherOptions::cmddefaultguardloot_Click);
    connect(cmddefaultthiefloot, &QPushButton::clicked, this,
            &FrmOtherOptions::cmddefaultthiefloot_Click);
    connect(cmdsave, &QPushButton::clicked, this, &FrmOtherOptions::cmdsave_Click);
    connect(cmdload, &QPushButton::clicked, this, &FrmOtherOptions::cmdload_Click);
    connect(cmdexit, &QPushButton::clicked, this, &FrmOtherOptions::cmdexit_Click);
}

void FrmOtherOptions::setTabOrderOfControls() {
    // The controls that take the focus, in their tab order; frames and labels take none.
    QWidget* const order[] = {
        cmdexit,
        cmdload,
        cmdsave,
        txtcachetime,
        chkshowvispcent,
        chkbalanceteams,
        chkallowdownloads,
        chklogipinchat,
        txttimelimit,
        txtguardloot,
        txtthiefloot,
        cmddefaultguardloot,
        cmddefaultthiefloot,
        txtplayername,
        chkshowlocinchat,
        txtlootdropped,
        txtpassvotes,
        chkmouseinvert,
        txtmousesensitivity,
    };
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void FrmOtherOptions::Form_Load() {
    loadFields();
    cmdsave->setEnabled(false);
}

void FrmOtherOptions::loadFields() {
    try {
        OptionBoxes boxes(*this);
        OptionFields::LoadOptionFields(boxes);
    } catch (const std::exception& error) {
        showError(QStringLiteral("The options could not be read."), error);
    }
}

void FrmOtherOptions::txtplayername_Change() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::txtcachetime_Change() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::txtmousesensitivity_Change() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::txttimelimit_Change() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::txtguardloot_Change() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::txtthiefloot_Change() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::txtlootdropped_Change() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::txtpassvotes_Change() {
    cmdsave->setEnabled(true);
}

void FrmOtherOptions::chkshowvispcent_Click() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::chkshowlocinchat_Click() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::chkallowdownloads_Click() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::chkmouseinvert_Click() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::chkbalanceteams_Click() {
    cmdsave->setEnabled(true);
}
void FrmOtherOptions::chklogipinchat_Click() {
    cmdsave->setEnabled(true);
}

void FrmOtherOptions::txtplayername_GotFocus() {
    txtplayername->selectAll();
}
void FrmOtherOptions::txtcachetime_GotFocus() {
    txtcachetime->selectAll();
}
void FrmOtherOptions::txtmousesensitivity_GotFocus() {
    txtmousesensitivity->selectAll();
}
void FrmOtherOptions::txttimelimit_GotFocus() {
    txttimelimit->selectAll();
}
void FrmOtherOptions::txtguardloot_GotFocus() {
    txtguardloot->selectAll();
}
void FrmOtherOptions::txtthiefloot_GotFocus() {
    txtthiefloot->selectAll();
}
void FrmOtherOptions::txtlootdropped_GotFocus() {
    txtlootdropped->selectAll();
}
void FrmOtherOptions::txtpassvotes_GotFocus() {
    txtpassvotes->selectAll();
}

bool FrmOtherOptions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusIn ||
        !EditBox::focusEntersFromAnotherControl(*static_cast<QFocusEvent*>(event)))
        return QWidget::eventFilter(watched, event);
    const std::pair<QObject*, void (FrmOtherOptions::*)()> gotFocus[] = {
        {txtplayername, &FrmOtherOptions::txtplayername_GotFocus},
        {txtcachetime, &FrmOtherOptions::txtcachetime_GotFocus},
        {txtmousesensitivity, &FrmOtherOptions::txtmousesensitivity_GotFocus},
        {txttimelimit, &FrmOtherOptions::txttimelimit_GotFocus},
        {txtguardloot, &FrmOtherOptions::txtguardloot_GotFocus},
        {txtthiefloot, &FrmOtherOptions::txtthiefloot_GotFocus},
        {txtlootdropped, &FrmOtherOptions::txtlootdropped_GotFocus},
        {txtpassvotes, &FrmOtherOptions::txtpassvotes_GotFocus},
    };
    for (const auto& [box, handler] : gotFocus) {
        if (box != watched)
            continue;
        (this->*handler)();
        // A click places the cursor after the focus arrives; select again once it has.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, this, handler);
    }
    return QWidget::eventFilter(watched, event);
}

void FrmOtherOptions::putDefault(QLineEdit* box, const QString& defaultText) {
    if (box->text() == defaultText) {
        MsgBox(defaultText + QStringLiteral(" is the default value..."), MsgBoxStyle::OkOnly,
               QStringLiteral("D'Oh!"));
        return;
    }
    setBoxText(box, defaultText);
    cmdsave->setEnabled(true);
}

void FrmOtherOptions::cmddefaultguardloot_Click() {
    putDefault(txtguardloot, QStringLiteral("850"));
}

void FrmOtherOptions::cmddefaultthiefloot_Click() {
    putDefault(txtthiefloot, QStringLiteral("600"));
}

bool FrmOtherOptions::saveSettings() {
    try {
        OptionBoxes boxes(*this);
        OptionFields::SaveOptionFieldsAndFiles(boxes);
    } catch (const OptionValueRefused& refused) {
        MsgBox(refusalText(refused), MsgBoxStyle::Critical);
        return false;
    } catch (const Startup::SaveDeclined&) {
        // The user chose to keep the files another program wrote, or not to save while the game
        // runs; the edits stay unsaved.
        return false;
    } catch (const std::exception& error) {
        showError(QStringLiteral("The settings could not be saved."), error);
        return false;
    }
    cmdsave->setEnabled(false);
    return true;
}

void FrmOtherOptions::cmdsave_Click() {
    saveSettings();
}

void FrmOtherOptions::cmdload_Click() {
    loadFields();
}

void FrmOtherOptions::cmdexit_Click() {
    if (cmdsave->isEnabled()) {
        const int answer =
            MsgBox(QStringLiteral("Do you wish to save before exiting?"),
                   MsgBoxStyle::YesNoCancel | MsgBoxStyle::Critical | MsgBoxStyle::DefaultButton2,
                   QStringLiteral("Changes not saved!"));
        if (answer == MsgBoxAnswer::Yes) {
            if (!saveSettings())
                return; // the edits stay, and so does the window
        } else if (answer != MsgBoxAnswer::No) {
            return;
        }
    }
    MainMenuLink::show();
    leave();
}

void FrmOtherOptions::leave() {
    hide();
    // The window is destroyed once the event that brought it here has been handled.
    FormInstance<FrmOtherOptions>::discardLater(this);
}

void FrmOtherOptions::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmdexit_Click();
}
