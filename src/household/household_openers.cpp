#include "household/household_openers.h"

#include "core/app_state.h"
#include "household/household_edit_window.h"
#include "registry/household_row.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/label.h"

namespace fenlark {

void openHouseholdForAdd(AppState &state, DBConnection &connection, Dialogs &dialogs,
                         const HouseholdEditContext &context, QWidget *parent)
{
    state.editMode = kEditModeAdd;
    {
        HouseholdEditWindow window(state, connection, dialogs, context, parent);
        dialogs.showModal(&window);
    }
    context.countLabel.setCaption(QStringLiteral("总项目数：") + QString::number(state.householdCount));
}

int listedYear(const EGrid &list, int row, const AppState &state)
{
    return listedEntryYear(list, row).value_or(state.currentSelection.year);
}

QString listedUnit(const EGrid &list, int row, const AppState &state)
{
    const QString shown = list.cellText(row, 3);
    return shown.isEmpty() ? state.currentSelection.unit : shown;
}

void openHouseholdForModify(AppState &state, DBConnection &connection, Dialogs &dialogs,
                            const HouseholdEditContext &context, QWidget *parent)
{
    state.editMode = kEditModeModify;
    if (context.list.cursorRow() < 1) {
        dialogs.message(parent, QStringLiteral(" 当前未载入成员,无法进行修改!"), MessageIcon::Error);
        return;
    }
    HouseholdEditWindow window(state, connection, dialogs, context, parent);
    dialogs.showModal(&window);
}

} // namespace fenlark
