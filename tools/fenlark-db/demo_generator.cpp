#include "register_maker.h"

#include "demo_household.h"
#include "demo_plan.h"
#include "demo_random.h"

#include "data/demo_mark.h"
#include "data/register_file.h"
#include "data/schema.h"
#include "data/statement.h"

#include <QStringList>

#include <set>

namespace fenlark::dbtool {

namespace {

constexpr quint64 kSeed = 0xFE17A2C0DE2016ull;

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}

bool insertRegions(DBConnection &connection, const DemoRegions &regions)
{
    namespace r = schema::regions;
    Statement insert(connection, QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?1, ?2, ?3, ?4)")
                                     .arg(quoted(r::table), quoted(r::level), quoted(r::levelName), quoted(r::name),
                                          quoted(r::parent)));
    for (const DemoUnit &unit : regions.units) {
        insert.bind(1, unit.level).bind(2, unit.levelName).bind(3, unit.name).bind(4, unit.parent);
        if (!insert.exec())
            return false;
        insert.reset();
    }
    return insert.isValid();
}

bool insertYears(DBConnection &connection, const std::set<int> &years)
{
    namespace y = schema::years;
    Statement insert(connection,
                     QStringLiteral("INSERT INTO %1 (%2) VALUES (?1)").arg(quoted(y::table), quoted(y::year)));
    for (int year : years) {
        insert.bind(1, year);
        if (!insert.exec())
            return false;
        insert.reset();
    }
    return insert.isValid();
}

// The columns in the order the values are bound.
QStringList householdColumns()
{
    namespace h = schema::households;
    return {h::entryYear,     h::unit,
            h::parentUnit,    h::headName,
            h::headInfo,      h::initials,
            h::category,      h::familyPlanning,
            h::medicalCare,   h::pensionInsurance,
            h::pensionAmount, h::allowanceLastYear,
            h::annualIncome,  h::members,
            h::phone,         h::bank,
            h::bankAccount,   h::health,
            h::offence,       h::offenceKind,
            h::disabled,      h::partyMember,
            h::partyJoined,   h::partyPost,
            h::petitioner,    h::savedAt,
            h::situation,     h::keywords,
            h::address,       h::business};
}

void bindHousehold(Statement &insert, const DemoHousehold &h)
{
    insert.bind(1, h.year).bind(2, h.unit).bind(3, h.parentUnit).bind(4, h.headName).bind(5, h.headInfo);
    insert.bind(6, h.initials).bind(7, h.category).bind(8, int(h.familyPlanning)).bind(9, int(h.medicalCare));
    insert.bind(10, int(h.pensionInsurance)).bind(11, h.pensionAmount).bind(12, h.allowanceLastYear);
    insert.bind(13, h.annualIncome).bind(14, h.members).bind(15, h.phone).bind(16, h.bank).bind(17, h.bankAccount);
    insert.bind(18, h.health).bind(19, int(h.offence)).bind(20, h.offenceKind).bind(21, int(h.disabled));
    insert.bind(22, int(h.partyMember));
    // A household saved without party membership never had these two written.
    if (h.partyMember)
        insert.bind(23, h.partyJoined).bind(24, h.partyPost);
    else
        insert.bindNull(23).bindNull(24);
    insert.bind(25, int(h.petitioner)).bind(26, h.savedAt).bind(27, h.situation).bind(28, h.keywords);
    insert.bind(29, h.address).bind(30, h.business);
}

bool insertHouseholds(DBConnection &connection, const DemoRegions &regions, int count, DemoRandom &random,
                      std::set<int> &years)
{
    const QStringList columns = householdColumns();
    QStringList names;
    QStringList parameters;
    for (int i = 0; i < columns.size(); ++i) {
        names << quoted(columns.at(i));
        parameters << QStringLiteral("?%1").arg(i + 1);
    }
    Statement insert(connection, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(quoted(schema::households::table), names.join(QStringLiteral(", ")),
                                          parameters.join(QStringLiteral(", "))));
    if (!insert.isValid())
        return false;
    DemoHouseholdMaker maker(random.next());
    const int villages = int(regions.villages.size());
    for (int n = 0; n < count; ++n) {
        const DemoHousehold household = maker.make(regions.villages[size_t(random.below(villages))]);
        years.insert(household.year);
        bindHousehold(insert, household);
        if (!insert.exec())
            return false;
        insert.reset();
    }
    return true;
}

} // namespace

bool makeEmptyRegister(const QString &path, QString &error)
{
    return createRegisterFile(path, error);
}

bool makeDemoRegister(const QString &path, int households, QString &error)
{
    if (households <= 0) {
        error = QStringLiteral("the number of households must be positive");
        return false;
    }
    DemoRandom random(kSeed);
    const DemoRegions regions = planDemoRegions(households, random);
    const RegisterLoad load = [&](DBConnection &connection, QString &) {
        std::set<int> years;
        return insertRegions(connection, regions) && insertHouseholds(connection, regions, households, random, years) &&
               insertYears(connection, years) && markAsDemoRegister(connection);
    };
    return createRegisterFile(path, load, error);
}

} // namespace fenlark::dbtool
