#include "ui/label.h"

#include <QMouseEvent>

namespace fenlark {

Label::Label(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
}

void Label::setBackgroundColour(const QColor &colour)
{
    setAutoFillBackground(colour.isValid());
    if (colour.isValid()) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, colour);
        setPalette(palette);
    }
}

void Label::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT leftButtonPressed();
}

} // namespace fenlark
