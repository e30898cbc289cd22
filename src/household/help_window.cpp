#include "household/help_window.h"

namespace fenlark {

HouseholdHelpWindow::HouseholdHelpWindow(QWidget *parent) : QDialog(parent)
{
    m_built = buildWindow(QStringLiteral(":/designs/help_window.json"), this);
}

} // namespace fenlark
