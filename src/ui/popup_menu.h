#pragma once

#include <QMenu>

namespace fenlark {

// A menu shown only as a pop-up. Choosing an item reports its index.
class PopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit PopupMenu(QWidget *parent = nullptr);

    int addItem(const QString &caption); // index of the new item
    int itemCount() const { return static_cast<int>(actions().size()); }
    QString itemCaption(int index) const; // "" when no such item
    QAction *itemAction(int index) const; // nullptr when no such item
    // Shows the items at the mouse position and returns at once; the choice arrives as itemClicked.
    void popUp();

Q_SIGNALS:
    void itemClicked(int index);
};

} // namespace fenlark
