#include "ui/combo_box.h"

#include "ui/text_table_model.h"

#include <QStandardItemModel>

#include <utility>

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
    makeItemsEditable();
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

void ComboBox::addTexts(TextTable texts)
{
    if (texts.isEmpty())
        return;
    const int before = currentIndex();
    const QString typed = isEditable() ? currentText() : QString();
    if (count() == 0) {
        // An empty box takes the table itself as its items: no item object per text, which for
        // a keyword list of hundreds of thousands of texts cost more than reading them.
        setModel(new TextTableModel(std::move(texts), this));
    } else {
        makeItemsEditable();
        QComboBox::addItems(texts.toStringList());
    }
    if (before == -1 && currentIndex() != -1) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(typed);
    }
}

void ComboBox::makeItemsEditable()
{
    const auto *table = qobject_cast<const TextTableModel *>(model());
    if (!table)
        return;
    const int current = currentIndex();
    const QString typed = isEditable() ? currentText() : QString();
    auto *items = new QStandardItemModel(this);
    QList<QStandardItem *> rows;
    rows.reserve(table->texts().size());
    for (qsizetype i = 0; i < table->texts().size(); ++i)
        rows << new QStandardItem(table->texts().at(i).toString());
    items->invisibleRootItem()->appendRows(rows);
    setModel(items);
    setCurrentIndex(current);
    if (current == -1 && isEditable())
        setEditText(typed);
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
