#include "import/import_mapping.h"

#include "core/datetime.h"
#include "data/schema.h"

namespace fenlark::importer {

const QList<TargetTable> &registerTables()
{
    namespace h = schema::households;
    namespace r = schema::regions;
    namespace y = schema::years;
    using K = FieldKind;
    static const QList<TargetTable> tables = {
        {h::table,
         {{h::id, K::Integer},
          {h::entryYear, K::Integer},
          {h::unit, K::Text},
          {h::parentUnit, K::Text},
          {h::headName, K::Text},
          {h::headInfo, K::Text},
          {h::initials, K::Text},
          {h::category, K::Text},
          {h::familyPlanning, K::YesNo},
          {h::medicalCare, K::YesNo},
          {h::pensionInsurance, K::YesNo},
          {h::pensionAmount, K::Number},
          {h::allowanceLastYear, K::Number},
          {h::annualIncome, K::Number},
          {h::members, K::Text},
          {h::phone, K::Text},
          {h::bank, K::Text},
          {h::bankAccount, K::Text},
          {h::health, K::Text},
          {h::offence, K::YesNo},
          {h::offenceKind, K::Text},
          {h::disabled, K::YesNo},
          {h::partyMember, K::YesNo},
          {h::partyJoined, K::DateTime},
          {h::partyPost, K::Text},
          {h::petitioner, K::YesNo},
          {h::savedAt, K::DateTime},
          {h::situation, K::Text},
          {h::keywords, K::Text},
          {h::address, K::Text},
          {h::business, K::Text}}},
        {r::table, {{r::level, K::Integer}, {r::levelName, K::Text}, {r::name, K::Text}, {r::parent, K::Text}}},
        {y::table, {{y::year, K::Integer}}},
    };
    return tables;
}

bool acceptsType(FieldKind kind, AccessType type)
{
    const bool integer = type == AccessType::Byte || type == AccessType::Integer || type == AccessType::LongInteger;
    switch (kind) {
    case FieldKind::Integer:
        return integer;
    case FieldKind::YesNo:
        // The program read a yes/no as an integer, true when not 0.
        return type == AccessType::Boolean || integer;
    case FieldKind::Number:
        return integer || type == AccessType::Currency || type == AccessType::Single || type == AccessType::Double ||
               type == AccessType::Decimal;
    case FieldKind::DateTime:
        return type == AccessType::DateTime;
    case FieldKind::Text:
        return type == AccessType::Text || type == AccessType::Memo;
    }
    return false;
}

QString acceptedTypesText(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Integer:
        return QStringLiteral("an integer (Byte, Integer or Long Integer)");
    case FieldKind::YesNo:
        return QStringLiteral("a yes/no (Yes/No, or an integer)");
    case FieldKind::Number:
        return QStringLiteral("a number (Double, Single, Currency, Decimal or an integer)");
    case FieldKind::DateTime:
        return QStringLiteral("a date-time (Date/Time)");
    case FieldKind::Text:
        return QStringLiteral("a text (Text or Memo)");
    }
    return QString();
}

bool planTable(const TargetTable &target, const QList<AccessColumn> &source, TablePlan &plan, QStringList &problems)
{
    plan = TablePlan{};
    plan.table = target.name;
    plan.columns = target.columns;
    const qsizetype problemsBefore = problems.size();
    QList<bool> used(source.size(), false);
    for (const TargetColumn &column : target.columns) {
        int found = -1;
        for (int i = 0; i < source.size() && found < 0; ++i) {
            if (source[i].name == column.name)
                found = i;
        }
        for (int i = 0; i < source.size() && found < 0; ++i) {
            if (source[i].name.compare(column.name, Qt::CaseInsensitive) == 0)
                found = i;
        }
        plan.source.append(found);
        if (found < 0) {
            problems.append(QStringLiteral("table %1 has no column %2").arg(target.name, column.name));
            continue;
        }
        used[found] = true;
        if (!acceptsType(column.kind, source[found].type)) {
            problems.append(QStringLiteral("column %1.%2 is %3, but the register keeps %4 there")
                                .arg(target.name, source[found].name, accessTypeName(source[found].type),
                                     acceptedTypesText(column.kind)));
        }
    }
    for (int i = 0; i < source.size(); ++i) {
        if (!used[i])
            plan.extraColumns.append(QStringLiteral("%1 (%2)").arg(source[i].name, accessTypeName(source[i].type)));
    }
    return problems.size() == problemsBefore;
}

bool mapRow(const TablePlan &plan, const AccessRow &row, std::vector<SqlValue> &out, QString &error)
{
    using Kind = AccessValue::Kind;
    out.assign(size_t(plan.columns.size()), SqlValue{});
    for (qsizetype c = 0; c < plan.columns.size(); ++c) {
        const TargetColumn &column = plan.columns[c];
        const int from = plan.source[c];
        if (from < 0 || size_t(from) >= row.size()) {
            error = QStringLiteral("column %1.%2 has no value").arg(plan.table, column.name);
            return false;
        }
        const AccessValue &value = row[size_t(from)];
        if (value.isNull()) {
            if (plan.table == schema::households::table && column.name == schema::households::id) {
                error = QStringLiteral("a row of %1 has no id").arg(plan.table);
                return false;
            }
            continue; // stays NULL
        }
        bool fits = true;
        switch (column.kind) {
        case FieldKind::Integer:
            fits = value.kind == Kind::Integer;
            if (fits)
                out[size_t(c)] = value.integer;
            break;
        case FieldKind::YesNo:
            fits = value.kind == Kind::Integer;
            if (fits)
                out[size_t(c)] = qint64(value.integer != 0 ? 1 : 0);
            break;
        case FieldKind::Number:
            fits = value.kind == Kind::Real || value.kind == Kind::Integer;
            if (fits)
                out[size_t(c)] = value.kind == Kind::Real ? value.real : double(value.integer);
            break;
        case FieldKind::DateTime:
            fits = value.kind == Kind::DateTime;
            if (fits)
                out[size_t(c)] = daycount::toStored(value.real);
            break;
        case FieldKind::Text:
            fits = value.kind == Kind::Text;
            if (fits)
                out[size_t(c)] = value.text;
            break;
        }
        if (!fits) {
            error = QStringLiteral("column %1.%2 holds a value of the wrong kind").arg(plan.table, column.name);
            return false;
        }
    }
    return true;
}

} // namespace fenlark::importer
