#include "Controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QStyleOptionButton>
#include <QStylePainter>

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

} // namespace

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                     const QFont& font) {
    return named(new QGroupBox(caption, parent), name, geometry, font);
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                        const QFont& font) {
    return named(new CaptionButton(caption, parent), name, geometry, font);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                  const QFont& font) {
    return widenedToText(named(new QLabel(caption, parent), name, geometry, font));
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                     const QFont& font) {
    return widenedToText(named(new QCheckBox(caption, parent), name, geometry, font));
}

} // namespace Controls
