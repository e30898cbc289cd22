#include "ui/buttons.h"

namespace fenlark {

SuperBtn::SuperBtn(QWidget *parent) : Button(parent)
{
    setFlat(true);
    setFocusPolicy(Qt::NoFocus);
}

void RadioBox::setChecked(bool checked)
{
    if (checked || !isChecked()) {
        QRadioButton::setChecked(checked);
        return;
    }
    // Qt keeps one box of an exclusive choice checked; lift that rule for this one change.
    const bool exclusive = autoExclusive();
    setAutoExclusive(false);
    QRadioButton::setChecked(false);
    setAutoExclusive(exclusive);
}

} // namespace fenlark
