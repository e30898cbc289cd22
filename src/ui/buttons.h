#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace fenlark {

// A push button; clicked() is QPushButton's. No button is a window's default: Return in a field
// of a form must not press 帮助, 保存 or 确认 behind the user's back.
class Button : public QPushButton {
    Q_OBJECT
public:
    explicit Button(QWidget *parent = nullptr) : QPushButton(parent) { setAutoDefault(false); }
    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
};

// A flat button (the close button of a borderless window's title strip).
class SuperBtn : public Button {
    Q_OBJECT
public:
    explicit SuperBtn(QWidget *parent = nullptr);
};

class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(QWidget *parent = nullptr) : QCheckBox(parent) {}
    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    // isChecked() / setChecked(bool) are QCheckBox's.
};

// The radio boxes with the same parent (a ShapeBox) form one choice. A choice may have no box
// checked: setChecked(false) unchecks even the checked box of the choice.
class RadioBox : public QRadioButton {
    Q_OBJECT
public:
    explicit RadioBox(QWidget *parent = nullptr) : QRadioButton(parent) {}
    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    void setChecked(bool checked);
};

} // namespace fenlark
