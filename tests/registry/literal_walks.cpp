#include "literal_walks.h"

#include "core/clock.h"
#include "core/text.h"
#include "data/db_connection.h"
#include "data/record_set.h"
#include "registry/household_criteria.h"

namespace fenlark {

namespace {

// A list row of the record the set stands on, its cells joined by "|" (check cells as 0 or 1).
// Column 1 is the first part of 户主信息, or 户主 when head is given.
QString literalRow(RecordSet &set, int n, const Clock &clock, const QString *head = nullptr)
{
    QString u, info, category, health;
    set.readText(QStringLiteral("所属管辖"), u);
    set.readText(QStringLiteral("户主信息"), info);
    set.readText(QStringLiteral("农户属性"), category);
    set.readText(QStringLiteral("健康状况"), health);
    auto flag = [&](const char16_t *column) {
        bool b = false;
        set.readBool(QString::fromUtf16(column), b);
        return QString::number(b);
    };
    double saved = 0;
    set.readDateTime(QStringLiteral("录入时间"), saved);
    const QStringList parts = info.split(u'-');
    return QStringList{QString::number(n),
                       head ? *head : parts.value(0),
                       parts.value(2),
                       u,
                       category,
                       flag(u"是否计划生育"),
                       flag(u"是否合作医疗"),
                       flag(u"是否养老保险"),
                       health,
                       flag(u"是否违法"),
                       flag(u"是否残疾"),
                       flag(u"是否党员"),
                       formatTimestamp(saved, clock)}
        .join(u'|');
}

} // namespace

PageWalk literalPageWalk(DBConnection &connection, const QString &unit, const QString &parent, bool allYears, int year,
                         int page, const Clock &clock)
{
    PageWalk ref;
    RecordSet set;
    set.attach(connection);
    set.openSorted(QStringLiteral("成员信息"), QStringLiteral("id DESC"));
    for (set.moveFirst(); !set.isAtEnd(); set.moveNext()) {
        QString u;
        int y = 0;
        set.readText(QStringLiteral("所属管辖"), u);
        set.readInt(QStringLiteral("录入年份"), y);
        if (u == unit && (allYears || y == year))
            ++ref.count;
    }
    if (page == 0)
        page = 1;
    int skip = (page - 1) * 15;
    int n = 1;
    for (set.moveFirst(); !set.isAtEnd() && n <= 15; set.moveNext()) {
        QString u, p;
        int y = 0;
        set.readText(QStringLiteral("所属管辖"), u);
        set.readText(QStringLiteral("上级管辖"), p);
        set.readInt(QStringLiteral("录入年份"), y);
        if (!(u == unit && p == parent && (allYears || y == year)))
            continue;
        if (skip > 0) {
            --skip;
            continue;
        }
        ref.rows << literalRow(set, n, clock);
        ++n;
    }
    set.close();
    return ref;
}

QStringList literalSearch(DBConnection &connection, const QString &unit, bool allYears, int year, const QString &text)
{
    const FixedClock clock(QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    QStringList names;
    for (const QString &row : literalSearchRows(connection, unit, allYears, year, text, clock))
        names << row.section(u'|', 1, 1);
    return names;
}

QStringList literalSearchRows(DBConnection &connection, const QString &unit, bool allYears, int year,
                              const QString &text, const Clock &clock)
{
    QStringList rows;
    RecordSet set;
    set.attach(connection);
    set.openTable(QStringLiteral("成员信息"));
    for (set.moveFirst(); !set.isAtEnd(); set.moveNext()) {
        QString u, initials;
        int y = 0;
        set.readText(QStringLiteral("所属管辖"), u);
        set.readInt(QStringLiteral("录入年份"), y);
        if (u != unit || (!allYears && y != year))
            continue;
        set.readText(QStringLiteral("首拼音"), initials);
        if (!text.isEmpty() && initials.left(text.size()) != text)
            continue;
        rows << literalRow(set, int(rows.size()) + 1, clock);
    }
    set.close();
    return rows;
}

QStringList literalQuery(DBConnection &connection, const HouseholdCriteria &c)
{
    const FixedClock clock(QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    QStringList heads;
    for (const QString &row : literalQueryRows(connection, c, clock))
        heads << row.section(u'|', 1, 1);
    return heads;
}

QStringList literalQueryRows(DBConnection &connection, const HouseholdCriteria &c, const Clock &clock)
{
    QStringList rows;
    RecordSet set;
    set.attach(connection);
    set.openTable(QStringLiteral("成员信息"));
    auto flag = [&](const char16_t *column) {
        bool b = false;
        set.readBool(QString::fromUtf16(column), b);
        return b;
    };
    auto text = [&](const char16_t *column) {
        QString t;
        set.readText(QString::fromUtf16(column), t);
        return t;
    };
    for (set.moveFirst(); !set.isAtEnd(); set.moveNext()) {
        if (c.unit && text(u"所属管辖") != *c.unit)
            continue;
        if (c.familyPlanning && flag(u"是否计划生育") != *c.familyPlanning)
            continue;
        if (c.medicalCare && flag(u"是否合作医疗") != *c.medicalCare)
            continue;
        if (c.pensionInsurance && flag(u"是否养老保险") != *c.pensionInsurance)
            continue;
        if (c.health && text(u"健康状况") != *c.health)
            continue;
        if (c.offence && flag(u"是否违法") != *c.offence)
            continue;
        if (c.disabled && flag(u"是否残疾") != *c.disabled)
            continue;
        if (c.petitioner && flag(u"是否上访户") != *c.petitioner)
            continue;
        if (c.partyMember && flag(u"是否党员") != *c.partyMember)
            continue;
        if (c.keyword && !c.keyword->isEmpty() && !text(u"标签").split(u',').contains(*c.keyword))
            continue;
        const QString head = text(u"户主");
        rows << literalRow(set, int(rows.size()) + 1, clock, &head);
    }
    set.close();
    return rows;
}

QStringList literalKeywords(DBConnection &connection)
{
    QStringList keySet;
    RecordSet set;
    set.attach(connection);
    set.openTable(QStringLiteral("成员信息"));
    for (set.moveFirst(); !set.isAtEnd(); set.moveNext()) {
        QString keywords;
        set.readText(QStringLiteral("标签"), keywords);
        if (!keySet.contains(keywords))
            keySet << keywords;
    }
    set.close();
    return keySet;
}

QStringList literalKeywordTexts(DBConnection &connection)
{
    QStringList texts;
    RecordSet set;
    set.attach(connection);
    set.openTable(QStringLiteral("成员信息"));
    for (set.moveFirst(); !set.isAtEnd(); set.moveNext()) {
        QString text;
        set.readText(QStringLiteral("标签"), text);
        if (!texts.contains(text))
            texts << text;
    }
    set.close();
    return texts;
}

} // namespace fenlark
