#include "app/FrmSplash.h"

#include "app/FrmMainMenu.h"
#include "install/GamePaths.h"
#include "platform/SingleInstance.h"
#include "store/Startup.h"
#include "widgets/FormLayout.h"

#include <QLabel>
#include <cstdlib>

using namespace FormLayout;

namespace {

// The thin border: the client area begins one pixel (15 twips) in from each edge.
constexpr int BorderPx = 1;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                  double points, Qt::Alignment alignment) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(timesFont(points));
    label->setAlignment(alignment);
    return label;
}

} // namespace

FrmSplash::~FrmSplash() = default;

FrmSplash::FrmSplash() {
    setObjectName(QStringLiteral("FrmSplash"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(BorderPx);
    setFixedSize(px(4515) + 2 * BorderPx, px(2670) + 2 * BorderPx);

    auto* client = new QWidget(this);
    client->setGeometry(BorderPx, BorderPx, px(4515), px(2670));
    Label1 = makeLabel(client, "Label1", QStringLiteral("Brackens'"), twipRect(585, 480, 3225, 825),
                       36, Qt::AlignHCenter | Qt::AlignTop);
    Label2 = makeLabel(client, "Label2", QStringLiteral("Quillon Tool"),
                       twipRect(720, 1440, 2955, 600), 26.25, Qt::AlignHCenter | Qt::AlignTop);
    Label3 = makeLabel(client, "Label3", QStringLiteral("Version 1.1 Beta"),
                       twipRect(3000, 2040, 1215, 255), 8.25, Qt::AlignLeft | Qt::AlignTop);

    timload.setObjectName(QStringLiteral("timload"));
    timload.setInterval(1500);
    connect(&timload, &QTimer::timeout, this, &FrmSplash::timload_Timer);

    Form_Load();
    centreOnScreen(this);
}

void FrmSplash::Form_Load() {
    runningCopy = std::make_unique<SingleInstance>(SingleInstance::ProgramName);
    if (!runningCopy->isOnlyInstance())
        std::exit(EXIT_SUCCESS); // another copy runs: leave it alone, say nothing, show nothing

    // No value is no error: the main menu then tries its fixed folders.
    Startup::InstallFolder = GamePaths::readInstallFolder();
    timload.start();
}

void FrmSplash::timload_Timer() {
    timload.stop(); // first, so the main menu is shown only once
    FrmMainMenu::form().show();
    hide();
}
