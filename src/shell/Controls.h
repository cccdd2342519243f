#pragma once

#include <QFont>
#include <QPushButton>
#include <QRect>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QWidget;

// A button whose caption wraps onto a second line when it does not fit on one, as the
// narrow buttons of the editors need ("Discard Changes" in a button 65 pixels wide).
class CaptionButton : public QPushButton {
    Q_OBJECT

public:
    CaptionButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Builders for the controls of the windows, each named, placed and given its font. Geometry is
// in pixels (see FormLayout::twipRect).
namespace Controls {

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                     const QFont& font);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                        const QFont& font);
// Labels and check boxes are widened to their text when the design's width is a little short
// for the fonts in use, so that no caption is cut off.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                  const QFont& font);
QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                     const QFont& font);

// Takes back from the widened labels and check boxes of a container whatever would cover a
// control beside them: a caption may use free space, never another control's.
void keepCaptionsClear(QWidget* container);

} // namespace Controls
