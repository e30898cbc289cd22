#include "household/household_checks.h"

namespace fenlark {

std::optional<CheckFailure> firstFailedCheck(const HouseholdFormState &f)
{
    const auto error = [](const char16_t *text) {
        return std::optional<CheckFailure>(CheckFailure{QString::fromUtf16(text), MessageIcon::Error, false});
    };
    if (!f.unitChosen)
        return error(u"所属管辖为必填项!");
    if (!f.categoryChosen)
        return error(u"农户属性不能为空!");
    if (!f.familyPlanning)
        return error(u"是否计划生育为必填项!");
    if (!f.medicalCare)
        return error(u"是否参加合作医疗为必填项!");
    if (!f.pensionInsurance)
        return error(u"是否参加养老保险为必填项!");
    if (*f.pensionInsurance && f.pensionAmountText.isEmpty())
        return CheckFailure{QStringLiteral("检查到当前用户已参加养老保险,请输入缴纳金额!"), MessageIcon::None, true};
    if (f.health.isEmpty())
        return error(u"健康情况为必填项,不得为空!");
    if (f.memberRows == 0)
        return error(u"家庭成员不得为空!");
    if (f.address.isEmpty())
        return error(u"家庭住址不能为空!");
    if (f.offence && f.offenceKind.isEmpty())
        return error(u"违法行为不能为空!");
    if (f.headCount == 0)
        return error(u"家庭成员中必须设置一个为户主!");
    if (f.headCount > 1)
        return error(u"家庭成员中只允许有一个户主!");
    // The nameless head row would be left out of the packing, and the household stored with an
    // empty 户主 could never be found again to be opened or deleted.
    if (f.namelessHead)
        return error(u"户主姓名不能为空!");
    if (f.partyMember && f.partyPost.isEmpty())
        return error(u"党内职务不能为空!");
    return std::nullopt;
}

} // namespace fenlark
