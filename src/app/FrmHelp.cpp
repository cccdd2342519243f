#include "app/FrmHelp.h"

#include "widgets/Controls.h"
#include "widgets/FormLayout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <memory>

using namespace FormLayout;

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                  double points, bool centred) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(timesFont(points));
    label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setWordWrap(true);
    // The design's height is a little short for the tails of the big title's letters (the Q's).
    const int needed = label->heightForWidth(label->width());
    if (label->height() < needed)
        label->resize(label->width(), needed);
    return label;
}

} // namespace

FrmHelp::~FrmHelp() = default;

FrmHelp::FrmHelp() {
    setObjectName(QStringLiteral("FrmHelp"));
    setWindowTitle(AppCaption);
    setClientSizeTwips(this, 8145, 5145);

    cmdclose = new QPushButton(QStringLiteral("CLOSE"), this);
    cmdclose->setObjectName(QStringLiteral("cmdclose"));
    cmdclose->setGeometry(twipRect(3120, 4320, 1815, 615));
    cmdclose->setFont(timesFont(14.25));
    Controls::pressOnEnter(cmdclose);

    Label1 = makeLabel(this, "Label1", QStringLiteral("Brackens' Quillon Tool"),
                       twipRect(600, 600, 6735, 495), 24, true);
    Label2 = makeLabel(this, "Label2", QStringLiteral("Version 1.1 Beta"),
                       twipRect(2760, 1320, 2415, 255), 12, true);
    Label3 = makeLabel(this, "Label3",
                       QStringLiteral("Ok, this version is starting to look a lot better now. See "
                                      "the readme file for details on what's new."),
                       twipRect(480, 1920, 7095, 495), 9.75, false);
    Label4 = makeLabel(this, "Label4",
                       QStringLiteral("I have made this tool as foolproof as I could, so if you "
                                      "still manage to break it, please let me know how you did "
                                      "it (quillon-tool@example.org)."),
                       twipRect(480, 2640, 7095, 495), 9.75, false);
    Label5 = makeLabel(this, "Label5",
                       QStringLiteral("This is only an early release with more features to come, "
                                      "and updates are published on "
                                      "https://quillon-tool.example.org/"),
                       twipRect(480, 3360, 7095, 615), 9.75, false);

    cmdclose->setFocus();
    connect(cmdclose, &QPushButton::clicked, this, &FrmHelp::cmdclose_Click);
    centreOnScreen(this);
}

void FrmHelp::cmdclose_Click() {
    close();
}

void FrmHelp::closeEvent(QCloseEvent* event) {
    // However it is closed, the window is discarded and made afresh the next time. It goes once
    // control is back in the event loop, as it may be in the middle of handling a click.
    event->accept();
    FormInstance<FrmHelp>::discardLater(this);
}
