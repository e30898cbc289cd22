#pragma once

#include "ui/window_builder.h"

#include <QDialog>

namespace fenlark {

// "农户属性说明": four fixed lines explaining the household categories. Opened modally by 帮助 of
// the household form; it holds no state and decides nothing (the user picks the category).
class HouseholdHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HouseholdHelpWindow(QWidget *parent = nullptr);
    const BuiltWindow &built() const { return m_built; }

private:
    BuiltWindow m_built;
};

} // namespace fenlark
