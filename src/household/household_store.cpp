#include "household/household_store.h"

#include "core/text.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/statement.h"

namespace fenlark {

namespace col = schema::households;

QString headCriterion(const QString &headName)
{
    QString literal = headName;
    literal.replace(u'\'', QStringLiteral("''"));
    return col::headName + QStringLiteral("='") + literal + u'\'';
}

QString yearCriterion(int year)
{
    return schema::years::year + QStringLiteral("='") + QString::number(year) + u'\'';
}

bool headCardOf(const QString &headInfo, QString &card)
{
    const QStringList parts = splitFields(headInfo, u'-');
    if (parts.size() < 3)
        return false;
    card = parts.at(2);
    return true;
}

bool locateHousehold(RecordSet &set, int year, const QString &headName, const QString &unit, const QString &headCard)
{
    // The year and the head's name narrow the cursor on the store's indexes to a handful of
    // rows, instead of a whole year of a county register; find then makes its exact comparison.
    const QString narrowing = quoteIdentifier(col::entryYear) + QStringLiteral(" = ? AND ") +
                              quoteIdentifier(col::headName) + QStringLiteral(" = ?");
    if (!set.openWhere(col::table, narrowing, {FieldValue::fromInteger(year), FieldValue::fromText(headName)}))
        return false;
    set.moveFirst();
    for (bool found = set.find(headCriterion(headName)); found; found = set.findNext()) {
        QString rowUnit;
        QString headInfo;
        QString card;
        set.readText(col::unit, rowUnit);
        set.readText(col::headInfo, headInfo);
        if (rowUnit == unit && headCardOf(headInfo, card) && card == headCard)
            return true;
    }
    return false;
}

void readHousehold(RecordSet &set, HouseholdRecord &r)
{
    set.readText(col::initials, r.initials);
    set.readInt(col::entryYear, r.entryYear);
    set.readText(col::unit, r.unit);
    set.readText(col::parentUnit, r.parentUnit);
    set.readText(col::headName, r.headName);
    set.readText(col::headInfo, r.headInfo);
    set.readText(col::category, r.category);
    set.readBool(col::familyPlanning, r.familyPlanning);
    set.readBool(col::medicalCare, r.medicalCare);
    set.readBool(col::pensionInsurance, r.pensionInsurance);
    set.readDouble(col::pensionAmount, r.pensionAmount);
    set.readDouble(col::allowanceLastYear, r.allowanceLastYear);
    set.readText(col::members, r.members);
    set.readText(col::phone, r.phone);
    set.readText(col::bank, r.bank);
    set.readText(col::bankAccount, r.bankAccount);
    set.readText(col::health, r.health);
    set.readBool(col::offence, r.offence);
    set.readText(col::offenceKind, r.offenceKind);
    set.readBool(col::disabled, r.disabled);
    set.readBool(col::partyMember, r.partyMember);
    set.readBool(col::petitioner, r.petitioner);
    set.readDateTime(col::savedAt, r.savedAt);
    set.readText(col::situation, r.situation);
    set.readText(col::keywords, r.keywords);
    set.readText(col::address, r.address);
    set.readText(col::business, r.business);
    set.readDouble(col::annualIncome, r.annualIncome);
    set.readDateTime(col::partyJoined, r.partyJoined);
    set.readText(col::partyPost, r.partyPost);
}

bool writeHousehold(RecordSet &set, const HouseholdRecord &r)
{
    bool ok = true;
    ok &= set.writeText(col::initials, r.initials);
    ok &= set.writeInt(col::entryYear, r.entryYear);
    ok &= set.writeText(col::unit, r.unit);
    ok &= set.writeText(col::parentUnit, r.parentUnit);
    ok &= set.writeText(col::headName, r.headName);
    ok &= set.writeText(col::headInfo, r.headInfo);
    ok &= set.writeText(col::category, r.category);
    ok &= set.writeBool(col::familyPlanning, r.familyPlanning);
    ok &= set.writeBool(col::medicalCare, r.medicalCare);
    ok &= set.writeBool(col::pensionInsurance, r.pensionInsurance);
    ok &= set.writeDouble(col::pensionAmount, r.pensionAmount);
    ok &= set.writeDouble(col::allowanceLastYear, r.allowanceLastYear);
    ok &= set.writeText(col::members, r.members);
    ok &= set.writeText(col::phone, r.phone);
    ok &= set.writeText(col::bank, r.bank);
    ok &= set.writeText(col::bankAccount, r.bankAccount);
    ok &= set.writeText(col::health, r.health);
    ok &= set.writeBool(col::offence, r.offence);
    ok &= set.writeText(col::offenceKind, r.offenceKind);
    ok &= set.writeBool(col::disabled, r.disabled);
    ok &= set.writeBool(col::partyMember, r.partyMember);
    ok &= set.writeBool(col::petitioner, r.petitioner);
    ok &= set.writeDateTime(col::savedAt, r.savedAt);
    ok &= set.writeText(col::situation, r.situation);
    ok &= set.writeText(col::keywords, r.keywords);
    ok &= set.writeText(col::address, r.address);
    ok &= set.writeText(col::business, r.business);
    ok &= set.writeDouble(col::annualIncome, r.annualIncome);
    if (r.partyMember) {
        ok &= set.writeDateTime(col::partyJoined, r.partyJoined);
        ok &= set.writeText(col::partyPost, r.partyPost);
    }
    return ok && set.update();
}

bool registerYear(RecordSet &set, int year)
{
    if (!set.openTable(schema::years::table))
        return false;
    set.moveFirst();
    if (set.find(yearCriterion(year)))
        return true;
    return set.addNew() && set.writeInt(schema::years::year, year) && set.update();
}

} // namespace fenlark
