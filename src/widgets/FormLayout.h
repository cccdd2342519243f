#pragma once

#include <QFont>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

// Helpers that let the windows be laid out in the units their designs use: twips and points.
namespace FormLayout {

// The caption of every window but the splash.
inline const QString AppCaption = QStringLiteral("Brackens' Quillon Tool");

// Twips to device-independent pixels, at 15 twips a pixel.
constexpr int px(int twips) {
    return (twips + 7) / 15;
}
QRect twipRect(int left, int top, int width, int height);

// Times New Roman at the given size, or a metric-compatible serif where it is not installed.
QFont timesFont(double points, bool bold = false);

// Fixes the window's client area to the given size in twips.
void setClientSizeTwips(QWidget* window, int width, int height);

// Places the window, its frame included, in the centre of the screen it is on.
void centreOnScreen(QWidget* window);
// Where the frame's top left corner goes for a client area of that size within that frame to be
// centred in the available area.
QPoint centredFramePosition(const QRect& available, const QSize& client, const QMargins& frame);

} // namespace FormLayout
