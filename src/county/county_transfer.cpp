#include "county/county_transfer.h"

#include "data/db_connection.h"
#include "data/field_value.h"
#include "data/register_file.h"
#include "data/schema.h"
#include "data/statement.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace fenlark::county {

namespace {

namespace hh = schema::households;

// Every column of a household but its key (and the server's row version): what a copy carries.
QStringList householdColumns()
{
    return {hh::entryYear,     hh::unit,
            hh::parentUnit,    hh::headName,
            hh::headInfo,      hh::initials,
            hh::category,      hh::familyPlanning,
            hh::medicalCare,   hh::pensionInsurance,
            hh::pensionAmount, hh::allowanceLastYear,
            hh::annualIncome,  hh::members,
            hh::phone,         hh::bank,
            hh::bankAccount,   hh::health,
            hh::offence,       hh::offenceKind,
            hh::disabled,      hh::partyMember,
            hh::partyJoined,   hh::partyPost,
            hh::petitioner,    hh::savedAt,
            hh::situation,     hh::keywords,
            hh::address,       hh::business};
}

QString columnList(const QStringList &columns)
{
    QStringList quoted;
    for (const QString &column : columns)
        quoted << quoteIdentifier(column);
    return quoted.join(QStringLiteral(", "));
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

// The head's identity-card number: the third "-" part of 户主信息.
QString cardOf(const QString &headInfo)
{
    return headInfo.section(u'-', 2, 2);
}

struct Unit {
    int level = 0;
    QString levelName;
    QString name;
    QString parent;
    QString path; // names from the root down, joined by '/'
};

// The units in their order of entry, each with its path. A unit's parent is the unit of that
// name one level up (else any level up), as the tree itself links them.
bool readUnits(DBConnection &connection, std::vector<Unit> &units, QString &error)
{
    Statement query(connection, QStringLiteral("SELECT 标识, 区域, 单位名称, 直属管辖 FROM 区域管理 ORDER BY rowid"));
    while (query.step())
        units.push_back({int(query.int64(0)), query.text(1), query.text(2), query.text(3), QString()});
    if (query.hasFailed() || !query.isValid()) {
        error = connection.errorText();
        return false;
    }
    QHash<QString, std::vector<size_t>> byName; // in order of entry
    for (size_t i = 0; i < units.size(); ++i)
        byName[units[i].name].push_back(i);
    const auto parentOf = [&](const Unit &unit) -> const Unit * {
        const Unit *higher = nullptr;
        for (size_t i : byName.value(unit.parent)) {
            if (units[i].level == unit.level - 1)
                return &units[i];
            if (!higher && units[i].level < unit.level)
                higher = &units[i];
        }
        return higher;
    };
    for (Unit &unit : units) {
        // Up the chain of parents; a loop in a damaged tree stops at the root's depth.
        QStringList names{unit.name};
        const Unit *at = &unit;
        for (int depth = 0; depth < 16 && !at->parent.isEmpty(); ++depth) {
            const Unit *up = parentOf(*at);
            if (!up) {
                names.prepend(at->parent); // a parent the tree lacks still tells the path apart
                break;
            }
            names.prepend(up->name);
            at = up;
        }
        unit.path = names.join(u'/');
    }
    return true;
}

bool failWith(DBConnection &connection, QString &error, const QString &what)
{
    const QString words = connection.errorText().trimmed();
    error = words.isEmpty() ? what : what + QStringLiteral("：") + words;
    return false;
}

} // namespace

bool pushRegister(DBConnection &file, DBConnection &server, PushReport &report, QString &error)
{
    report = PushReport();
    std::vector<Unit> fileUnits;
    std::vector<Unit> serverUnits;
    if (!readUnits(file, fileUnits, error) || !readUnits(server, serverUnits, error))
        return false;

    Transaction transaction(server);
    if (!transaction.isActive())
        return failWith(server, error, QStringLiteral("无法开始事务"));

    // Units, parents before children so each new one is added under its parent.
    QSet<QString> serverPaths;
    for (const Unit &unit : serverUnits)
        serverPaths.insert(unit.path);
    std::vector<const Unit *> ordered;
    for (const Unit &unit : fileUnits)
        ordered.push_back(&unit);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Unit *a, const Unit *b) { return a->path.count(u'/') < b->path.count(u'/'); });
    Statement addUnit(server,
                      QStringLiteral("INSERT INTO 区域管理 (标识, 区域, 单位名称, 直属管辖) VALUES (?, ?, ?, ?)"));
    for (const Unit *unit : ordered) {
        if (serverPaths.contains(unit->path)) {
            ++report.unitsMatched;
            continue;
        }
        addUnit.reset();
        addUnit.bind(1, unit->level).bind(2, unit->levelName).bind(3, unit->name).bind(4, unit->parent);
        if (!addUnit.exec())
            return failWith(server, error, QStringLiteral("添加单位 %1 失败").arg(unit->path));
        serverPaths.insert(unit->path);
        ++report.unitsAdded;
    }

    // Households in the file's order of entry, so each village lists them on the server as in
    // the file. One already there (a second push) is told, never doubled.
    const QStringList columns = householdColumns();
    Statement read(file,
                   QStringLiteral("SELECT ") + columnList(columns) + QStringLiteral(" FROM 成员信息 ORDER BY rowid"));
    Statement there(server,
                    QStringLiteral("SELECT 户主信息 FROM 成员信息 WHERE 录入年份 = ? AND 所属管辖 = ? AND 户主 = ?"));
    Statement add(server, QStringLiteral("INSERT INTO 成员信息 (") + columnList(columns) +
                              QStringLiteral(") VALUES (") + placeholders(columns.size()) + u')');
    while (read.step()) {
        const qint64 year = read.int64(0);
        const QString unit = read.text(1);
        const QString head = read.text(3);
        const QString card = cardOf(read.text(4));
        there.reset();
        there.bind(1, year).bind(2, unit).bind(3, head);
        bool found = false;
        while (!found && there.step())
            found = cardOf(there.text(0)) == card;
        if (there.hasFailed())
            return failWith(server, error, QStringLiteral("查找农户失败"));
        if (found) {
            report.householdsThere << QStringLiteral("%1 %2 %3 %4").arg(year).arg(unit, head, card);
            continue;
        }
        add.reset();
        for (int c = 0; c < int(columns.size()); ++c)
            add.bind(c + 1, read.value(c));
        if (!add.exec())
            return failWith(server, error, QStringLiteral("添加农户 %1（%2 %3）失败").arg(head, unit).arg(year));
        ++report.householdsAdded;
    }
    if (read.hasFailed() || !read.isValid())
        return failWith(file, error, QStringLiteral("读取农户失败"));

    // The years the server lacks.
    Statement years(file, QStringLiteral("SELECT DISTINCT 年份 FROM 年份管理 ORDER BY 年份"));
    Statement yearThere(server, QStringLiteral("SELECT 1 FROM 年份管理 WHERE 年份 = ?"));
    Statement addYear(server, QStringLiteral("INSERT INTO 年份管理 (年份) VALUES (?)"));
    while (years.step()) {
        if (years.isNull(0))
            continue;
        yearThere.reset();
        yearThere.bind(1, years.int64(0));
        if (yearThere.step())
            continue;
        if (yearThere.hasFailed())
            return failWith(server, error, QStringLiteral("查找年份失败"));
        addYear.reset();
        addYear.bind(1, years.int64(0));
        if (!addYear.exec())
            return failWith(server, error, QStringLiteral("添加年份失败"));
        ++report.yearsAdded;
    }
    if (years.hasFailed() || !years.isValid())
        return failWith(file, error, QStringLiteral("读取年份失败"));

    if (!transaction.commit())
        return failWith(server, error, QStringLiteral("提交失败"));
    return true;
}

bool pullRegister(DBConnection &server, const QString &township, const QString &path, PullReport &report,
                  QString &error)
{
    report = PullReport();
    std::vector<Unit> units;
    if (!readUnits(server, units, error))
        return false;

    // The township's units: itself, its parents and everything under it; the county: all.
    std::vector<bool> taken(units.size(), township.isEmpty());
    QSet<QString> villageNames; // the names of the township's own units, for households without 上级管辖
    if (!township.isEmpty()) {
        QStringList paths;
        for (const Unit &unit : units) {
            if (unit.level == 4 && unit.name == township)
                paths << unit.path;
        }
        if (paths.isEmpty()) {
            error = QStringLiteral("服务器上没有名为“%1”的乡镇").arg(township);
            return false;
        }
        if (paths.size() > 1) {
            error = QStringLiteral("服务器上有 %1 个名为“%2”的乡镇：%3")
                        .arg(paths.size())
                        .arg(township, paths.join(QStringLiteral("；")));
            return false;
        }
        const QString own = paths.first();
        for (size_t i = 0; i < units.size(); ++i) {
            const QString &p = units[i].path;
            const bool under = p.startsWith(own + u'/');
            taken[i] = p == own || under || own.startsWith(p + u'/');
            if (under)
                villageNames.insert(units[i].name);
        }
    }

    const QStringList columns = householdColumns();
    const RegisterLoad load = [&](DBConnection &file, QString &loadError) {
        Statement addUnit(file,
                          QStringLiteral("INSERT INTO 区域管理 (标识, 区域, 单位名称, 直属管辖) VALUES (?, ?, ?, ?)"));
        for (size_t i = 0; i < units.size(); ++i) {
            if (!taken[i])
                continue;
            addUnit.reset();
            addUnit.bind(1, units[i].level).bind(2, units[i].levelName).bind(3, units[i].name).bind(4, units[i].parent);
            if (!addUnit.exec())
                return failWith(file, loadError, QStringLiteral("写入单位失败"));
            ++report.units;
        }
        Statement read(server, QStringLiteral("SELECT ") + columnList(columns) +
                                   QStringLiteral(" FROM 成员信息 ORDER BY rowid"));
        Statement add(file, QStringLiteral("INSERT INTO 成员信息 (") + columnList(columns) +
                                QStringLiteral(") VALUES (") + placeholders(columns.size()) + u')');
        while (read.step()) {
            if (!township.isEmpty()) {
                const QString parent = read.text(2);
                if (parent.isEmpty() ? !villageNames.contains(read.text(1)) : parent != township)
                    continue;
            }
            add.reset();
            for (int c = 0; c < int(columns.size()); ++c)
                add.bind(c + 1, read.value(c));
            if (!add.exec())
                return failWith(file, loadError, QStringLiteral("写入农户失败"));
            ++report.households;
        }
        if (read.hasFailed() || !read.isValid())
            return failWith(server, loadError, QStringLiteral("读取农户失败"));
        Statement years(server, QStringLiteral("SELECT DISTINCT 年份 FROM 年份管理 ORDER BY 年份"));
        Statement addYear(file, QStringLiteral("INSERT INTO 年份管理 (年份) VALUES (?)"));
        while (years.step()) {
            addYear.reset();
            addYear.bind(1, years.value(0));
            if (!addYear.exec())
                return failWith(file, loadError, QStringLiteral("写入年份失败"));
            ++report.years;
        }
        if (years.hasFailed() || !years.isValid())
            return failWith(server, loadError, QStringLiteral("读取年份失败"));
        return true;
    };
    return createRegisterFile(path, load, error);
}

} // namespace fenlark::county
