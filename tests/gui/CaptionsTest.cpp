#include "ScratchPrefix.h"
#include "TempDir.h"
#include "app/Forms.h"
#include "app/FrmHelp.h"
#include "app/FrmMainMenu.h"
#include "app/FrmSplash.h"
#include "loadouts/FrmLoadouts.h"
#include "options/FrmOtherOptions.h"
#include "store/Startup.h"
#include "widgets/Controls.h"
#include "widgets/MsgBox.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The serif the windows ask for first that this system has: Times New Roman, else the
// metric-compatible Liberation Serif. Empty when it has neither.
QString expectedSerif() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family :
         {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")})
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    return {};
}

// Whether the text, drawn in the control's font and laid out as the control lays it out, leaves
// no ink outside the area it is drawn in: nothing the user would see cut off.
bool fits(const QWidget& control, const QRect& area, int flags, const QString& text) {
    constexpr int Slack = 100;
    QImage canvas(area.size() + QSize(2 * Slack, 2 * Slack), QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMetre = qRound(control.logicalDpiX() / 0.0254);
    canvas.setDotsPerMeterX(dotsPerMetre);
    canvas.setDotsPerMeterY(dotsPerMetre);
    canvas.fill(Qt::transparent);
    const QRect placed(QPoint(Slack, Slack), area.size());
    QPainter painter(&canvas);
    painter.setFont(control.font());
    painter.setPen(Qt::black);
    painter.drawText(placed, flags | Qt::TextDontClip, text);
    painter.end();
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(canvas.pixel(x, y)) >= 128 && !placed.contains(x, y))
                return false; // at least half a pixel of ink outside
    return true;
}

// What is wrong with how one control shows its caption; empty when nothing is.
QString captionFault(QWidget& control, const QString& serif) {
    QString caption;
    QRect area;
    int flags = Qt::AlignCenter;
    QStyleOptionButton option;
    option.initFrom(&control);
    if (auto* label = qobject_cast<QLabel*>(&control)) {
        caption = label->text();
        area = label->contentsRect();
        flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    } else if (auto* check = qobject_cast<QCheckBox*>(&control)) {
        caption = check->text();
        area = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
        flags = Qt::AlignLeft | Qt::AlignVCenter;
    } else if (auto* button = qobject_cast<QPushButton*>(&control)) {
        caption = button->text();
        area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        // A CaptionButton wraps its caption onto a second line; a plain button does not.
        if (qobject_cast<CaptionButton*>(button))
            flags |= Qt::TextWordWrap;
    } else if (auto* frame = qobject_cast<QGroupBox*>(&control)) {
        caption = frame->title();
        area = frame->minimumSizeHint().width() <= frame->width() ? frame->rect() : QRect();
    } else {
        return {};
    }
    QString fault;
    if (!area.isValid() || !fits(control, area, flags, caption))
        fault += QStringLiteral(" does not fit its box");
    if (control.parentWidget() && !control.parentWidget()->rect().contains(control.geometry()))
        fault += QStringLiteral(" reaches out of its frame");
    const QString family = QFontInfo(control.font()).family();
    if (family.compare(serif, Qt::CaseInsensitive) != 0)
        fault += QStringLiteral(" is shown in ") + family;
    return fault.isEmpty() ? fault : control.objectName() + " \"" + caption + "\"" + fault;
}

} // namespace

// Every window's captions, in the fonts this system really has: Times New Roman where it is
// installed, else the fallback, and each caption whole within its control.
class CaptionsTest : public QObject {
    Q_OBJECT

private slots:
    void everyCaptionOfEveryWindowFitsInTheSerifInUse() {
        // The splash's claim to be the only copy goes into a folder of the test's own.
        QTemporaryDir runtimeDir;
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
        const ScratchPrefix prefix;
        const TempSystemDir system(QUILLON_EXAMPLES_DIR);
        Startup::SystemDir = system.systemDir();
        Startup::LoadIniFiles();
        MsgBoxTesting::startRecording();
        const QString serif = expectedSerif();
        QVERIFY2(!serif.isEmpty(), "neither Times New Roman nor Liberation Serif is installed");
        qInfo("The windows' serif here: %s", qPrintable(serif));

        QStringList faults;
        for (QWidget* window : std::initializer_list<QWidget*>{
                 &FrmSplash::form(), &FrmMainMenu::form(), &FrmHelp::form(), &FrmLoadouts::form(),
                 &FrmOtherOptions::form()}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            for (QWidget* control : window->findChildren<QWidget*>())
                if (const QString fault = captionFault(*control, serif); !fault.isEmpty())
                    faults.append(window->objectName() + ": " + fault);
        }
        unloadAllForms();
        MsgBoxTesting::stopRecording();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(CaptionsTest)
#include "CaptionsTest.moc"
