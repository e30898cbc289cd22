#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QTreeWidget>

#include <vector>

namespace fenlark {

// The tree of the windows. Items are addressed by their index: the position in a walk of the
// whole tree that visits a parent before its children and all of an item's children before its
// next sibling, expanded or not. Adding below an earlier parent shifts the later indexes.
// The walk and the texts in its order are cached, so index lookups stay cheap in trees of
// thousands of items.
class TreeBox : public QTreeWidget {
    Q_OBJECT
public:
    explicit TreeBox(QWidget *parent = nullptr);
    ~TreeBox() override;

    // Adds an item as the last child of `parentIndex` (-1: the last top-level item) and returns
    // its index; -1 when `parentIndex` names no item (nothing is added). Image indexes refer to
    // setImageList; -1 shows none.
    int addItem(int parentIndex, const QString &text, int image = -1, int selectedImage = -1, int value = 0,
                bool bold = false, int stateImage = -1);
    int itemCount() const;
    QString itemText(int index) const; // "" when no such item
    int itemValue(int index) const;    // -1 when no such item
    int parentOf(int index) const;     // -1 for a top-level item or no such item
    bool hasChildren(int index) const; // false when no such item
    void expand(int index);            // shows the item's children; no such item: nothing
    void clear();                      // removes all items (no selection change is reported)

    int selectedIndex() const; // -1 when no item is selected
    // Selects the item; an index naming no item leaves the tree without a selection.
    void select(int index);

    void setImageList(const QList<QIcon> &images) { m_images = images; }

    QTreeWidgetItem *itemAt(int index) const;
    int indexOf(const QTreeWidgetItem *item) const;

Q_SIGNALS:
    // The selected item changed, by the user or by select().
    void selectionChanged();

private:
    void ensureWalk() const;
    static int subtreeSize(const QTreeWidgetItem *item);
    QIcon image(int index) const;

    QList<QIcon> m_images;
    mutable std::vector<QTreeWidgetItem *> m_walk;
    mutable std::vector<QString> m_texts; // the items' texts in walk order
    mutable bool m_walkValid = true;
    mutable QHash<const QTreeWidgetItem *, int> m_positions;
    mutable bool m_positionsValid = true;
    bool m_adding = false;
    bool m_clearing = false;
};

} // namespace fenlark
