// The save of the household form (按钮_保存): checks, packing, one transaction for the row and
// its year, then the household list brought up to date in place.
#include "household/household_edit_window.h"

#include "core/app_state.h"
#include "core/clock.h"
#include "core/datetime.h"
#include "core/pinyin.h"
#include "core/text.h"
#include "data/schema.h"
#include "data/server_schema.h"
#include "data/statement.h"
#include "household/household_store.h"
#include "household/member_card_check.h"
#include "registry/household_row.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/date_picker.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"

#include <QLineEdit>

#include "years/year_list.h"

namespace fenlark {

void HouseholdEditWindow::save()
{
    if (const std::optional<CheckFailure> failure = firstFailedCheck(formState())) {
        m_dialogs.message(this, failure->message, failure->icon);
        if (failure->focusPensionAmount && m_pensionAmount->lineEdit())
            m_pensionAmount->lineEdit()->setFocus();
        return;
    }
    HouseholdRecord record;
    if (!gatherRecord(record))
        return;
    if (!store(record))
        return;
    QString headCard;
    headCardOf(record.headInfo, headCard);
    updateList(record, headCard);
    fillYearList(m_context.mainSet, m_context.yearList, m_context.clock);
    accept();
}

bool HouseholdEditWindow::gatherRecord(HouseholdRecord &r)
{
    const memberGrid::Packed packed = memberGrid::pack(*m_members);
    if (!packed.ok) {
        m_dialogs.message(this, packed.message, MessageIcon::Error);
        return false;
    }
    if (!confirmMemberCards())
        return false;
    // The save rewrites 家庭人员信息 from the grid alone: what the grid could not show would go.
    if (m_loadReport.lostSomething() &&
        !m_dialogs.askYesNo(this,
                            QStringLiteral("该户保存的家庭人员信息中有无法在表格中显示的内容(超过7人或多余的字段),"
                                           "保存后这些内容将丢失,是否继续保存?"),
                            MessageIcon::Question))
        return false;

    const QDateTime now = m_context.clock.now();
    r.headName = packed.headName;
    r.initials = pinyinInitials(packed.headName);
    r.entryYear = now.date().year();
    const UnitChoice unit = chosenUnit();
    r.unit = unit.name;
    r.parentUnit = unit.parent;
    r.headInfo = packed.headInfo;
    r.category = m_category->selectedText();
    r.familyPlanning = m_planningYes->isChecked();
    r.medicalCare = m_medicalYes->isChecked();
    r.pensionInsurance = m_pensionYes->isChecked();
    r.pensionAmount = textToNumber(m_pensionAmount->content());
    r.allowanceLastYear = textToNumber(m_allowance->content());
    r.members = packed.members;
    r.phone = m_phone->content();
    r.bank = m_bank->content();
    r.bankAccount = m_account->content();
    for (const RadioBox *button : m_health) {
        if (button->isChecked()) {
            r.health = button->caption();
            break;
        }
    }
    r.offence = m_offence->isChecked();
    r.offenceKind = m_offenceKind->content();
    r.disabled = m_disabled->isChecked();
    r.partyMember = m_party->isChecked();
    r.petitioner = m_petitioner->isChecked();
    r.savedAt = daycount::fromDateTime(now);
    r.situation = m_situation->content();
    r.keywords = m_keywords->content();
    r.address = m_address->content();
    r.business = m_business->content();
    r.annualIncome = textToNumber(m_income->content());
    r.partyJoined = daycount::fromDateTime(m_partyJoined->value());
    r.partyPost = m_partyPost->content();
    return true;
}

bool HouseholdEditWindow::confirmMemberCards()
{
    // Asked after every refusal has passed, so the user is asked once, about a form that saves.
    const QDate today = m_context.clock.now().date();
    const QString question = memberCards::saveQuestion(*m_members, m_connection, today.year(), m_loadedId, today);
    return question.isEmpty() ||
           m_dialogs.askYesNo(this, question, MessageIcon::Question, defaultMessageTitle(), DefaultAnswer::No);
}

bool HouseholdEditWindow::store(const HouseholdRecord &record)
{
    const bool adding = m_state.editMode == kEditModeAdd;
    if (!adding && m_state.editMode != kEditModeModify)
        return false;

    // The row and its year go in together or not at all.
    Transaction transaction(m_connection);
    bool stored = transaction.isActive();
    if (stored && adding) {
        stored = m_recordSet.openForAppend(schema::households::table) && m_recordSet.addNew();
    } else if (stored) {
        if (!locateHousehold(m_recordSet, m_listYear, m_state.loadedHeadName, m_state.currentSelection.unit,
                             m_listCard)) {
            m_recordSet.close();
            m_dialogs.message(this, QStringLiteral("要修改的农户已被删除或改动,找不到原记录,本次修改没有保存!"),
                              MessageIcon::Error);
            return false;
        }
        QString version;
        if (m_recordSet.readText(schema::versionColumn, version) && version != m_loadedVersion) {
            refuseChangedElsewhere();
            return false;
        }
    }
    stored = stored && writeHousehold(m_recordSet, record);
    if (!stored && m_recordSet.wasChangedElsewhere()) {
        // Saved by another clerk between finding the row and writing it.
        refuseChangedElsewhere();
        return false;
    }
    m_recordSet.close();
    stored = stored && registerYear(m_recordSet, record.entryYear);
    m_recordSet.close();
    stored = stored && transaction.commit();
    if (!stored) {
        m_dialogs.message(this, QStringLiteral("保存失败,农户信息没有写入数据库,请检查数据文件后重试!"),
                          MessageIcon::Error);
        return false;
    }
    return true;
}

void HouseholdEditWindow::refuseChangedElsewhere()
{
    // Who changed it is not known on the register; when is, from its 录入时间 as stored now.
    double savedAt = 0.0;
    m_recordSet.readDateTime(schema::households::savedAt, savedAt);
    m_recordSet.close();
    m_dialogs.message(this,
                      QStringLiteral("该农户已于 ") + formatTimestamp(savedAt, m_context.clock) +
                          QStringLiteral(" 被其他录入员修改或删除,本次修改没有保存,请关闭后重新打开再修改!"),
                      MessageIcon::Error);
}

void HouseholdEditWindow::updateList(const HouseholdRecord &r, const QString &headCard)
{
    EGrid &list = m_context.list;
    const HouseholdListRow row{r.headName,         headCard,         r.unit,
                               r.category,         r.familyPlanning, r.medicalCare,
                               r.pensionInsurance, r.health,         r.offence,
                               r.disabled,         r.partyMember,    formatTimestamp(r.savedAt, m_context.clock),
                               r.entryYear};
    // A village name that repeats across townships is the listed unit only under the listed parent.
    const bool shownUnit = r.unit == m_state.currentSelection.unit &&
                           (!chosenUnit().repeated || r.parentUnit == m_state.currentSelection.parent);
    if (m_state.editMode == kEditModeAdd) {
        if (!shownUnit)
            return;
        list.insertRow(1);
        writeHouseholdRow(list, 1, row);
        ++m_state.householdCount;
        renumberRows(list);
        m_dialogs.message(this, QStringLiteral("  添加成功！"), MessageIcon::None);
        return;
    }
    const int current = list.cursorRow();
    if (current < 1)
        return;
    if (shownUnit) {
        writeHouseholdRow(list, current, row);
    } else {
        --m_state.householdCount;
        list.deleteRow(current);
    }
    renumberRows(list);
}

} // namespace fenlark
