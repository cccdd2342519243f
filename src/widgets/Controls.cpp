#include "widgets/Controls.h"

#include "widgets/EditBox.h"
#include "widgets/TypingLimit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, option.palette, isEnabled(),
                         caption, QPalette::ButtonText);
}

namespace Controls {

namespace {

template <typename T> T* named(T* control, const char* name, QRect geometry, const QFont& font) {
    control->setObjectName(QString::fromLatin1(name));
    control->setFont(font);
    control->setGeometry(geometry);
    return control;
}

template <typename T> T* widenedToText(T* control) {
    const int needed = control->sizeHint().width();
    if (control->width() < needed)
        control->resize(needed, control->height());
    return control;
}

// Presses the button it watches on Enter or Return; holding the key down presses it once.
class EnterPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
            return false;
        if (!key.isAutoRepeat())
            static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

} // namespace

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                     const QFont& font) {
    return named(new QGroupBox(caption, parent), name, geometry, font);
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                        const QFont& font) {
    auto* button = named(new CaptionButton(caption, parent), name, geometry, font);
    pressOnEnter(button);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                  const QFont& font) {
    return widenedToText(named(new QLabel(caption, parent), name, geometry, font));
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                     const QFont& font) {
    return widenedToText(named(new QCheckBox(caption, parent), name, geometry, font));
}

QLineEdit* makeBox(QWidget* parent, const char* name, QRect geometry, int typingLimit) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    setTypingLimit(box, typingLimit);
    EditBox::keepToOneLine(box);
    return box;
}

void nameControl(QWidget* control, const QString& name) {
    control->setAccessibleName(name.endsWith(u'?') ? name.chopped(1) : name);
}

void nameByCaption(QWidget* box, QLabel* caption) {
    caption->setBuddy(box);
    nameControl(box, caption->text());
}

void pressOnEnter(QAbstractButton* button) {
    button->installEventFilter(new EnterPresses(button));
}

void keepCaptionsClear(QWidget* container) {
    const auto children = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* caption : children) {
        if (!qobject_cast<QLabel*>(caption) && !qobject_cast<QCheckBox*>(caption))
            continue;
        const QRect area = caption->geometry();
        int right = area.right();
        for (const QWidget* other : children) {
            const QRect place = other->geometry();
            const bool beside = place.top() <= area.bottom() && place.bottom() >= area.top();
            if (other != caption && beside && place.left() > area.left())
                right = std::min(right, place.left() - 1);
        }
        if (right < area.right()) {
            caption->resize(right - area.left() + 1, area.height());
            // Where the font in use runs a little wider than the design's (the fallback serif as
            // Wine draws it), its letters are set a little closer rather than the caption cut off.
            QFont font = caption->font();
            for (int tenths = 1; tenths <= 5 && caption->sizeHint().width() > caption->width();
                 ++tenths) {
                font.setLetterSpacing(QFont::AbsoluteSpacing, -0.1 * tenths);
                caption->setFont(font);
            }
        }
    }
}

} // namespace Controls
