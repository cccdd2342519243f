#include "FormLayout.h"

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

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Creating the native window makes the system's frame known (on Windows at once, elsewhere
    // once a window manager has framed it), so that the whole window, title bar included, is
    // centred and not only its client area.
    window->winId();
    const QMargins frame =
        window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    // move() places the frame's top left corner.
    window->move(centredFramePosition(screen->availableGeometry(), window->size(), frame));
}

} // namespace FormLayout
