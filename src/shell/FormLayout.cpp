#include "FormLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace FormLayout
