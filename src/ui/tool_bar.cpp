#include "ui/tool_bar.h"

#include <QAction>

namespace fenlark {

ToolBar::ToolBar(QWidget *parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

int ToolBar::addButton(const QString &caption, const QIcon &icon)
{
    QAction *action = addAction(icon, caption);
    if (!icon.isNull())
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    action->setCheckable(true);
    const int index = buttonCount();
    m_buttons.push_back({action, 0});
    connect(action, &QAction::triggered, this, [this, index] {
        // Qt flips a checkable action on its own; the look follows the state flags alone.
        apply(m_buttons[static_cast<size_t>(index)]);
        Q_EMIT clicked(index);
    });
    return index;
}

int ToolBar::addSeparatorButton()
{
    m_buttons.push_back({addSeparator(), 0});
    return buttonCount() - 1;
}

QString ToolBar::buttonCaption(int index) const
{
    const QAction *action = buttonAction(index);
    return action && !action->isSeparator() ? action->text() : QString();
}

bool ToolBar::isSeparator(int index) const
{
    const QAction *action = buttonAction(index);
    return action && action->isSeparator();
}

QAction *ToolBar::buttonAction(int index) const
{
    if (index < 0 || index >= buttonCount())
        return nullptr;
    return m_buttons[static_cast<size_t>(index)].action;
}

void ToolBar::apply(const Button &button)
{
    QAction *action = button.action;
    if (!action->isSeparator()) {
        action->setChecked(button.state & (Checked | Pressed));
        action->setEnabled(!(button.state & Disabled));
    }
    action->setVisible(!(button.state & Hidden));
}

void ToolBar::addState(int index, int flags)
{
    if (index < 0 || index >= buttonCount())
        return;
    Button &button = m_buttons[static_cast<size_t>(index)];
    button.state |= flags;
    apply(button);
}

void ToolBar::removeState(int index, int flags)
{
    if (index < 0 || index >= buttonCount())
        return;
    Button &button = m_buttons[static_cast<size_t>(index)];
    button.state &= ~flags;
    apply(button);
}

int ToolBar::state(int index) const
{
    if (index < 0 || index >= buttonCount())
        return 0;
    return m_buttons[static_cast<size_t>(index)].state;
}

} // namespace fenlark
