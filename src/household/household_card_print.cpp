// "打印" of the household form: the record as the form shows it, saved or not, as a card.
#include "household/household_edit_window.h"

#include "household/member_grid.h"
#include "printing/household_card.h"
#include "printing/print_service.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"

namespace fenlark {

namespace {

QString yesNo(bool set)
{
    return set ? QStringLiteral("是") : QStringLiteral("否");
}

// A pair of 是/否 buttons: "" while neither is chosen, as the form shows it.
QString choice(const RadioBox *yes, const RadioBox *no)
{
    if (yes->isChecked())
        return yesNo(true);
    return no->isChecked() ? yesNo(false) : QString();
}

} // namespace

void HouseholdEditWindow::printCard()
{
    HouseholdCard card;
    QString health;
    for (const RadioBox *button : m_health) {
        if (button->isChecked())
            health = button->caption();
    }
    const bool party = m_party->isChecked();
    card.fields = {
        {QStringLiteral("直属管辖"), m_unit->content()},
        {QStringLiteral("农户属性"), m_category->content()},
        {QStringLiteral("计划生育户"), choice(m_planningYes, m_planningNo)},
        {QStringLiteral("新型农村合作医疗"), choice(m_medicalYes, m_medicalNo)},
        {QStringLiteral("新型农村社会养老保险"), choice(m_pensionYes, m_pensionNo)},
        {QStringLiteral("社保缴纳金额"), m_pensionAmount->content()},
        {QStringLiteral("上年度领取的低保金"), m_allowance->content()},
        {QStringLiteral("年收入"), m_income->content()},
        {QStringLiteral("联系电话"), m_phone->content()},
        {QStringLiteral("家庭经营"), m_business->content()},
        {QStringLiteral("开户银行"), m_bank->content()},
        {QStringLiteral("银行账号"), m_account->content()},
        {QStringLiteral("健康状况"), health},
        {QStringLiteral("违法违纪"), m_offence->isChecked() ? QStringLiteral("有") : QStringLiteral("无")},
        {QStringLiteral("违法违纪行为"), m_offenceKind->content()},
        {QStringLiteral("是否残疾"), yesNo(m_disabled->isChecked())},
        {QStringLiteral("是否上访户"), yesNo(m_petitioner->isChecked())},
        {QStringLiteral("是否党员"), yesNo(party)},
        // The joining date and the post count only for a party member, as the save keeps them.
        {QStringLiteral("入党时间"),
         party ? m_partyJoined->value().date().toString(QStringLiteral("yyyy-MM-dd")) : QString()},
        {QStringLiteral("党内职务"), party ? m_partyPost->content() : QString()},
        {QStringLiteral("关键字标签"), m_keywords->content()},
        {QStringLiteral("家庭住址"), m_address->content()},
        {QStringLiteral("家庭状况说明"), m_situation->content()},
    };
    for (int c = 0; c < m_members->columnCount(); ++c)
        card.memberHeaders << m_members->cellText(0, c);
    for (int r = 1; r < m_members->rowCount(); ++r) {
        QStringList member;
        for (int c = 0; c < m_members->columnCount(); ++c)
            member << m_members->cellText(r, c);
        if (!member.value(memberGrid::kNameColumn).isEmpty())
            card.members.push_back(member);
    }

    if (m_context.printer) {
        printHouseholdCard(card, *m_context.printer, this);
    } else {
        PreviewPrintService preview;
        printHouseholdCard(card, preview, this);
    }
}

} // namespace fenlark
