#include "ui/containers.h"

namespace fenlark {

void ShapeBox::setBackgroundColour(const QColor &colour)
{
    m_colour = colour;
    setAutoFillBackground(colour.isValid());
    if (colour.isValid()) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, colour);
        setPalette(palette);
    }
}

} // namespace fenlark
