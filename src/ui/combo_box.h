#pragma once

#include "core/text_table.h"

#include <QComboBox>

#include <functional>

namespace fenlark {

// The drop-down of the windows: items of text with an int value each. A list-only box allows
// only a choice among its items; an editable one also takes typed text. Indexes count from 0,
// -1 is no item. Unlike a bare QComboBox, adding the first item selects nothing: a box starts
// without a selection until the program or the user chooses.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent = nullptr);

    void setEditableText(bool on); // editable kind (typed text allowed) or list-only
    bool isEditableText() const { return isEditable(); }

    int itemCount() const { return count(); }
    QString itemText(int index) const;               // "" when out of range
    int itemValue(int index) const;                  // -1 when out of range
    int addItem(const QString &text, int value = 0); // index of the new item
    // Items of these texts after the last, each with value 0, in one insertion: a list of
    // hundreds of thousands fills in one change instead of one per item, and an empty box keeps
    // the table itself as its items.
    void addTexts(TextTable texts);
    // clear(), currentIndex() and setCurrentIndex(int) are QComboBox's: -1 means no item.

    // The text shown in the box: the chosen item's text, or the typed text of an editable box.
    QString content() const { return currentText(); }
    // Editable: shows the text as typed text. List-only: chooses the first item with that text,
    // or no item when none has it.
    void setContent(const QString &text);
    // The text of the selected item; "" when no item is selected (typed text does not count).
    QString selectedText() const;

private:
    // Items held by a TextTable are read-only; before an item is added among them they become
    // ordinary items again.
    void makeItemsEditable();
    // Runs add, which adds items; a box without a selection stays without one (a bare QComboBox
    // chooses the first item added) and keeps its typed text.
    void keepingNoSelection(const std::function<void()> &add);
    void takeTexts(TextTable texts);
    void openLongListBelow();

Q_SIGNALS:
    // The user chose an item (not emitted when the program sets the current index).
    void itemSelected(int index);
};

} // namespace fenlark
