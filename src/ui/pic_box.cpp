#include "ui/pic_box.h"

#include <QPainter>

namespace fenlark {

PicBox::PicBox(QWidget *parent) : QWidget(parent) {}

void PicBox::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void PicBox::clear()
{
    m_image = QImage();
    update();
}

void PicBox::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QSize size = m_image.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    const QRect target((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(), size.height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
}

} // namespace fenlark
