#include "ui/combo_box.h"

namespace fenlark {

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::activated, this, &ComboBox::itemSelected);
}

void ComboBox::setEditableText(bool on)
{
    setEditable(on);
    if (on) {
        setInsertPolicy(QComboBox::NoInsert);
        // Typed text is kept as typed; completing it to an item would change what is saved.
        setCompleter(nullptr);
    }
}

QString ComboBox::itemText(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return QComboBox::itemText(index);
}

int ComboBox::itemValue(int index) const
{
    if (index < 0 || index >= count())
        return -1;
    return itemData(index).toInt();
}

int ComboBox::addItem(const QString &text, int value)
{
    const int before = currentIndex();
    const QString typed = isEditable() ? currentText() : QString();
    QComboBox::addItem(text, value);
    if (before == -1 && currentIndex() != -1) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(typed);
    }
    return count() - 1;
}

void ComboBox::setContent(const QString &text)
{
    if (isEditable()) {
        setEditText(text);
        return;
    }
    setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

QString ComboBox::selectedText() const
{
    return itemText(currentIndex());
}

} // namespace fenlark
