#include "widgets/FormLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace FormLayout {

QRect twipRect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

QFont timesFont(double points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("serif")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setClientSizeTwips(QWidget* window, int width, int height) {
    window->setFixedSize(px(width), px(height));
}

QPoint centredFramePosition(const QRect& available, const QSize& client, const QMargins& frame) {
    QRect outer(QPoint(), client.grownBy(frame));
    outer.moveCenter(available.center());
    return outer.topLeft();
}

namespace {

// Moves the window so that it is centred with the frame it has now.
void centreWithFrame(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QMargins frame =
        window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    // move() places the frame's top left corner.
    window->move(centredFramePosition(screen->availableGeometry(), window->size(), frame));
}

// Where the frame is known only once a window manager has framed the window (X11), centres it
// again when it first appears, before anyone could have moved it.
class CentreWhenFramed : public QObject {
public:
    explicit CentreWhenFramed(QWidget* window) : QObject(window->windowHandle()), window_(window) {
        window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose && window_->windowHandle()->isExposed()) {
            if (!window_->windowHandle()->frameMargins().isNull())
                centreWithFrame(window_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* window_;
};

} // namespace

void centreOnScreen(QWidget* window) {
    // Creating the native window makes the system's frame known where the system knows it
    // before the window is shown (Windows), so that the whole window, title bar included, is
    // centred and not only its client area.
    window->winId();
    centreWithFrame(window);
    if (window->windowHandle() && window->windowHandle()->frameMargins().isNull() &&
        !window->windowFlags().testFlag(Qt::FramelessWindowHint))
        new CentreWhenFramed(window); // owned by the native window
}

} // namespace FormLayout
