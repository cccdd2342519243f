#pragma once

#include <QFont>
#include <QPushButton>
#include <QRect>
#include <QString>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
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
// An editor's text box: named, placed, kept to one line, and held to its typing limit. It keeps
// its parent's font.
QLineEdit* makeBox(QWidget* parent, const char* name, QRect geometry, int typingLimit);

// What a screen reader calls a control, where its caption alone does not say it: a box without a
// caption of its own (named after what a sighted user reads beside it), or a button whose caption
// says too little ("Default"). A closing question mark is left out: the name says what the box
// holds, not the question beside it. Its description stays its tooltip, as Qt reads it.
void nameControl(QWidget* control, const QString& name);
// Names a text box by the caption label beside it, which becomes the box's buddy. The caption
// gets no mnemonic, so nothing is underlined and no shortcut is taken.
void nameByCaption(QWidget* box, QLabel* caption);
// Lets Enter or Return press a button that has the focus, as a focused button does on Windows;
// outside a dialog Qt's buttons take only the space bar.
void pressOnEnter(QAbstractButton* button);

// Takes back from the widened labels and check boxes of a container whatever would cover a
// control beside them: a caption may use free space, never another control's.
void keepCaptionsClear(QWidget* container);

} // namespace Controls
