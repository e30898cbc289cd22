#pragma once

#include <QImage>
#include <QWidget>

namespace fenlark {

// Shows a picture, scaled down to fit (keeping its proportions) and centred. Decoding is the
// caller's business: the picture arrives as a QImage.
class PicBox : public QWidget {
    Q_OBJECT
public:
    explicit PicBox(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    void clear();
    QImage image() const { return m_image; }
    bool hasImage() const { return !m_image.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};

} // namespace fenlark
