#include "core/app_state.h"
#include "data/record_set.h"
#include "household/household_openers.h"
#include "household/household_store.h"
#include "registry/household_row.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/label.h"

namespace fenlark {

void deleteHousehold(AppState &state, RecordSet &mainSet, EGrid &list, Label &countLabel, Dialogs &dialogs,
                     QWidget *parent)
{
    if (list.rowCount() <= 1)
        return;
    const int row = list.cursorRow();
    if (row < 1) {
        dialogs.message(parent, QStringLiteral(" 当前未载入成员,无法删除!"), MessageIcon::Error);
        return;
    }
    const QString headName = list.cellText(row, 1);
    const QString headCard = list.cellText(row, 2);
    // The question names the household, so the user sees which one goes, and defaults to No:
    // a Return or a stray key must never delete.
    const QString question = QStringLiteral("删除后将不能被恢复,请确认是否继续删除!\n\n户主：") + headName +
                             QStringLiteral("  身份证：") + headCard;
    if (!dialogs.askYesNo(parent, question, MessageIcon::None, defaultMessageTitle(), DefaultAnswer::No))
        return;
    const bool deleted =
        locateHousehold(mainSet, listedYear(list, row, state), headName, listedUnit(list, row, state), headCard) &&
        mainSet.deleteCurrent();
    mainSet.close();
    if (!deleted) {
        // The user said Yes: a deletion that found nothing must not pass for one that was done.
        dialogs.message(parent, QStringLiteral("要删除的农户已被删除或改动,找不到原记录,没有删除任何农户!"),
                        MessageIcon::Error);
        return;
    }
    list.deleteRow(row);
    renumberRows(list);
    --state.householdCount;
    countLabel.setCaption(QStringLiteral("总项目数：") + QString::number(state.householdCount));
}

} // namespace fenlark
