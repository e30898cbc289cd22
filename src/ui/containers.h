#pragma once

#include <QColor>
#include <QFrame>
#include <QGroupBox>

namespace fenlark {

// A plain container, optionally filled with a background colour. Radio boxes placed in one
// shape box form one choice.
class ShapeBox : public QFrame {
    Q_OBJECT
public:
    explicit ShapeBox(QWidget *parent = nullptr) : QFrame(parent) {}
    // An invalid colour makes the box transparent again.
    void setBackgroundColour(const QColor &colour);
    QColor backgroundColour() const { return m_colour; }

private:
    QColor m_colour;
};

// A container with a framed caption.
class GroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit GroupBox(QWidget *parent = nullptr) : QGroupBox(parent) {}
    QString caption() const { return title(); }
    void setCaption(const QString &caption) { setTitle(caption); }
};

} // namespace fenlark
