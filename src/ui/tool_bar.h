#pragma once

#include <QIcon>
#include <QToolBar>

#include <vector>

namespace fenlark {

// A row of buttons addressed by index (separators count as buttons), each with state flags.
// The program decides which button looks pressed: a click reports the index and leaves the
// states as they were, so a handler can move the pressed look itself.
class ToolBar : public QToolBar {
    Q_OBJECT
public:
    enum State { Checked = 1, Pressed = 2, Disabled = 4, Hidden = 8, Indeterminate = 16 };

    explicit ToolBar(QWidget *parent = nullptr);

    int addButton(const QString &caption, const QIcon &icon = QIcon()); // index of the new button
    int addSeparatorButton();                                           // index of the separator
    int buttonCount() const { return static_cast<int>(m_buttons.size()); }
    QString buttonCaption(int index) const; // "" when no such button (and for separators)
    bool isSeparator(int index) const;

    // Set or clear flags of one button; an index with no button changes nothing. Checked and
    // pressed both show the button pushed in; disabled greys it; hidden removes it from view;
    // indeterminate is kept but has no look of its own.
    void addState(int index, int flags);
    void removeState(int index, int flags);
    int state(int index) const; // 0 when no such button

    QAction *buttonAction(int index) const; // nullptr when no such button

Q_SIGNALS:
    void clicked(int index);

private:
    struct Button {
        QAction *action;
        int state;
    };
    void apply(const Button &button);

    std::vector<Button> m_buttons;
};

} // namespace fenlark
