#include "registry/household_query.h"

#include "core/text.h"
#include "data/field_value.h"
#include "data/value_query.h"

namespace fenlark {

namespace {
enum Column {
    HeadInfo,
    Unit,
    Category,
    FamilyPlanning,
    MedicalCare,
    PensionInsurance,
    Health,
    Offence,
    Disabled,
    PartyMember,
    SavedAt,
};

bool readBoolAt(const ValueQuery &query, int column)
{
    const FieldValue value = query.value(column);
    std::optional<bool> flag;
    if (value.type == FieldValue::Type::Text)
        flag = parseBoolText(value.text());
    else if (const auto number = integerOf(value))
        flag = *number != 0;
    return flag.value_or(false);
}

double readDayCountAt(const ValueQuery &query, int column)
{
    return dayCountOf(query.value(column)).value_or(0.0);
}
} // namespace

QString householdListColumns()
{
    return QStringLiteral("\"户主信息\", \"所属管辖\", \"农户属性\", \"是否计划生育\", \"是否合作医疗\", "
                          "\"是否养老保险\", \"健康状况\", \"是否违法\", \"是否残疾\", \"是否党员\", \"录入时间\"");
}

QString readTextAt(const ValueQuery &query, int column)
{
    return textForRead(columnKindFromDeclaredType(query.declaredType(column)), query.value(column));
}

QString headNameOf(const QString &headInfo)
{
    return splitFields(headInfo, QLatin1Char('-')).value(0);
}

QString headCardOf(const QString &headInfo)
{
    return splitFields(headInfo, QLatin1Char('-')).value(2);
}

HouseholdListRow householdRowAt(const ValueQuery &query, const Clock &clock)
{
    HouseholdListRow row;
    const QString headInfo = readTextAt(query, HeadInfo);
    row.headName = headNameOf(headInfo);
    row.headCard = headCardOf(headInfo);
    row.unit = readTextAt(query, Unit);
    row.category = readTextAt(query, Category);
    row.familyPlanning = readBoolAt(query, FamilyPlanning);
    row.medicalCare = readBoolAt(query, MedicalCare);
    row.pensionInsurance = readBoolAt(query, PensionInsurance);
    row.health = readTextAt(query, Health);
    row.offence = readBoolAt(query, Offence);
    row.disabled = readBoolAt(query, Disabled);
    row.partyMember = readBoolAt(query, PartyMember);
    row.savedAt = formatTimestamp(readDayCountAt(query, SavedAt), clock);
    return row;
}

QString textEqualsSql(const QString &column, int parameter, const QString &value)
{
    const QString equals = QStringLiteral("\"%1\" = ?%2").arg(column).arg(parameter);
    if (!value.isEmpty())
        return equals;
    return QStringLiteral("(%1 OR \"%2\" IS NULL)").arg(equals, column);
}

QString intEqualsSql(const QString &column, int parameter, qint64 value)
{
    const QString equals = QStringLiteral("\"%1\" = ?%2").arg(column).arg(parameter);
    if (value != 0)
        return equals;
    return QStringLiteral("(%1 OR \"%2\" IS NULL)").arg(equals, column);
}

} // namespace fenlark
