#include "ui/popup_menu.h"

#include <QCursor>

namespace fenlark {

PopupMenu::PopupMenu(QWidget *parent) : QMenu(parent) {}

int PopupMenu::addItem(const QString &caption)
{
    const int index = itemCount();
    QAction *action = addAction(caption);
    connect(action, &QAction::triggered, this, [this, index] { Q_EMIT itemClicked(index); });
    return index;
}

QString PopupMenu::itemCaption(int index) const
{
    const QAction *action = itemAction(index);
    return action ? action->text() : QString();
}

QAction *PopupMenu::itemAction(int index) const
{
    const QList<QAction *> all = actions();
    return index >= 0 && index < all.size() ? all.at(index) : nullptr;
}

void PopupMenu::popUp()
{
    popup(QCursor::pos());
}

} // namespace fenlark
