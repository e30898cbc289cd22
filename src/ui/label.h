#pragma once

#include <QColor>
#include <QLabel>

namespace fenlark {

// A caption, or (without one) a coloured strip. Reports a press of the left mouse button.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget *parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    // Fills the label's rectangle with the colour; an invalid colour leaves it transparent.
    void setBackgroundColour(const QColor &colour);

Q_SIGNALS:
    void leftButtonPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace fenlark
