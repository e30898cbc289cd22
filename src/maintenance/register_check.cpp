#include "maintenance/register_check.h"

#include "data/schema.h"
#include "data/schema_check.h"
#include "maintenance/register_copy.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>
#include <vector>

namespace fenlark::maintenance {

namespace {

namespace hh = schema::households;
namespace rg = schema::regions;

QString quoted(const QString &name)
{
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// Collects findings, keeping at most kFindingsPerKind of each kind and counting the rest.
class Findings {
public:
    void add(Finding::Kind kind, const QString &text)
    {
        int &n = m_counts[kind];
        if (++n <= kFindingsPerKind)
            m_list.append({kind, text});
    }
    qint64 total() const
    {
        qint64 n = 0;
        for (const auto &[kind, count] : m_counts)
            n += count;
        return n;
    }
    QList<Finding> take()
    {
        std::stable_sort(m_list.begin(), m_list.end(),
                         [](const Finding &a, const Finding &b) { return a.kind < b.kind; });
        QList<Finding> result;
        for (qsizetype i = 0; i < m_list.size(); ++i) {
            result.append(m_list[i]);
            const bool lastOfKind = i + 1 == m_list.size() || m_list[i + 1].kind != m_list[i].kind;
            const int total = m_counts[m_list[i].kind];
            if (lastOfKind && total > kFindingsPerKind) {
                result.append(
                    {Finding::More, QStringLiteral("……同类问题另有 %1 条未列出").arg(total - kFindingsPerKind)});
            }
        }
        return result;
    }

private:
    QList<Finding> m_list;
    std::map<int, int> m_counts;
};

class Query {
public:
    Query(sqlite3 *db, const QString &sql)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~Query() { sqlite3_finalize(m_stmt); }
    bool ok() const { return m_stmt != nullptr; }
    bool next()
    {
        if (!m_stmt)
            return false;
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            m_failed = true;
        return rc == SQLITE_ROW;
    }
    bool failed() const { return m_failed; }
    int columns() const { return sqlite3_column_count(m_stmt); }
    int type(int c) const { return sqlite3_column_type(m_stmt, c); }
    qint64 int64(int c) const { return sqlite3_column_int64(m_stmt, c); }
    QByteArray bytes(int c) const
    {
        const void *data = sqlite3_column_blob(m_stmt, c);
        return QByteArray(static_cast<const char *>(data), sqlite3_column_bytes(m_stmt, c));
    }
    QString text(int c) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, c)),
                                 sqlite3_column_bytes(m_stmt, c));
    }
    QString name(int c) const { return QString::fromUtf8(sqlite3_column_name(m_stmt, c)); }
    QString declaredType(int c) const
    {
        const char *type = sqlite3_column_decltype(m_stmt, c);
        return type ? QString::fromUtf8(type).toUpper() : QString();
    }

private:
    sqlite3_stmt *m_stmt = nullptr;
    bool m_failed = false;
};

// Strict UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing past
// U+10FFFF (what the record layer would show as replacement marks).
bool validUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p++;
        if (c < 0x80)
            continue;
        int more = 0;
        char32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (end - p < more)
            return false;
        for (int i = 0; i < more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        p += more;
        if ((more == 2 && code < 0x800) || (more == 3 && code < 0x10000) || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
    }
    return true;
}

QString shown(const QString &text)
{
    QString copy = text;
    copy.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
    return QStringLiteral("“%1”").arg(copy);
}

bool allowedKind(const QString &declared, int storage)
{
    if (storage == SQLITE_NULL)
        return true;
    if (declared == QStringLiteral("BOOLEAN") || declared == QStringLiteral("INTEGER"))
        return storage == SQLITE_INTEGER;
    if (declared == QStringLiteral("DOUBLE"))
        return storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    if (declared == QStringLiteral("DATETIME"))
        return storage != SQLITE_BLOB;
    return storage == SQLITE_TEXT;
}

QString kindName(int storage)
{
    switch (storage) {
    case SQLITE_INTEGER:
        return QStringLiteral("整数");
    case SQLITE_FLOAT:
        return QStringLiteral("小数");
    case SQLITE_TEXT:
        return QStringLiteral("文字");
    case SQLITE_BLOB:
        return QStringLiteral("二进制数据(BLOB)");
    default:
        return QStringLiteral("空");
    }
}

QString kindWanted(const QString &declared)
{
    if (declared == QStringLiteral("BOOLEAN"))
        return QStringLiteral("是/否");
    if (declared == QStringLiteral("INTEGER"))
        return QStringLiteral("整数");
    if (declared == QStringLiteral("DOUBLE"))
        return QStringLiteral("数字");
    if (declared == QStringLiteral("DATETIME"))
        return QStringLiteral("日期时间");
    return QStringLiteral("文字");
}

// Checks the kind of every stored value of one row; where names the row for the clerk.
void checkValues(const Query &row, int firstColumn, const QString &table, const QString &where, Findings &out)
{
    for (int c = firstColumn; c < row.columns(); ++c) {
        const int storage = row.type(c);
        const QString declared = row.declaredType(c);
        if (storage == SQLITE_BLOB) {
            out.add(Finding::Blob, QStringLiteral("%1 %2:列 %3 存的是二进制数据(BLOB)").arg(table, where, row.name(c)));
            continue;
        }
        if (storage == SQLITE_TEXT && !validUtf8(row.bytes(c))) {
            out.add(Finding::BadUtf8,
                    QStringLiteral("%1 %2:列 %3 的文字不是有效的 UTF-8 编码").arg(table, where, row.name(c)));
            continue;
        }
        if (!allowedKind(declared, storage)) {
            out.add(Finding::ValueKind, QStringLiteral("%1 %2:列 %3 应为%4,存的是%5 %6")
                                            .arg(table, where, row.name(c), kindWanted(declared), kindName(storage),
                                                 storage == SQLITE_TEXT ? shown(row.text(c)) : QString()));
        }
    }
}

struct Unit {
    qint64 rowid;
    qint64 level;
    QString name;
    QString parent;
};

const QString kLevelNames[] = {QString(),
                               QStringLiteral("国家"),
                               QStringLiteral("省"),
                               QStringLiteral("市"),
                               QStringLiteral("乡镇"),
                               QStringLiteral("村委会")};

QString unitLabel(const Unit &unit)
{
    const QString level = unit.level >= 1 && unit.level <= 5 ? kLevelNames[unit.level] : QString::number(unit.level);
    return QStringLiteral("单位 %1(%2)").arg(shown(unit.name), level);
}

// The units: kinds of values, names, levels, repeats, and which of them the tree cannot show.
// villages receives the parents of each village committee's name.
bool checkUnits(sqlite3 *db, Findings &out, QHash<QString, QSet<QString>> &villages)
{
    Query query(db, QStringLiteral("SELECT rowid, * FROM %1").arg(quoted(rg::table)));
    if (!query.ok())
        return true; // no such table: the schema findings say so
    int levelColumn = -1, nameColumn = -1, parentColumn = -1;
    for (int c = 1; c < query.columns(); ++c) {
        if (query.name(c) == rg::level)
            levelColumn = c;
        else if (query.name(c) == rg::name)
            nameColumn = c;
        else if (query.name(c) == rg::parent)
            parentColumn = c;
    }
    std::vector<Unit> units;
    while (query.next()) {
        const QString where = QStringLiteral("第 %1 行").arg(query.int64(0));
        checkValues(query, 1, rg::table, where, out);
        Unit unit{query.int64(0), levelColumn > 0 ? query.int64(levelColumn) : 0,
                  nameColumn > 0 ? query.text(nameColumn) : QString(),
                  parentColumn > 0 ? query.text(parentColumn) : QString()};
        units.push_back(unit);
    }
    if (query.failed())
        return false;
    if (levelColumn < 0 || nameColumn < 0 || parentColumn < 0)
        return true; // the schema findings say what is missing

    std::map<std::pair<QString, QString>, int> underParent;
    QSet<QString> allNames;
    for (const Unit &unit : units) {
        allNames.insert(unit.name);
        if (unit.name.contains(u'\n') || unit.name.contains(u'\r'))
            out.add(Finding::UnitNameBad,
                    QStringLiteral("区域管理 第 %1 行:%2 的名称含换行").arg(unit.rowid).arg(unitLabel(unit)));
        else if (unit.name.trimmed().isEmpty())
            out.add(Finding::UnitNameBad,
                    QStringLiteral("区域管理 第 %1 行:%2 的名称是空的或只有空格").arg(unit.rowid).arg(unitLabel(unit)));
        if (unit.level < 1 || unit.level > 5)
            out.add(Finding::UnitLevelBad, QStringLiteral("区域管理 第 %1 行:%2 的标识 %3 不是 1 到 5 的级别")
                                               .arg(unit.rowid)
                                               .arg(unitLabel(unit))
                                               .arg(unit.level));
        if (++underParent[{unit.parent, unit.name}] == 2) {
            out.add(Finding::UnitRepeated,
                    QStringLiteral("%1 在直属管辖 %2 下出现了不止一次").arg(unitLabel(unit), shown(unit.parent)));
        }
        if (unit.level == 5)
            villages[unit.name].insert(unit.parent);
    }
    // The tree's roots are the provinces; below them a unit shows only under a parent that is shown.
    QSet<QString> shownNames;
    for (const Unit &unit : units) {
        if (unit.level == 2)
            shownNames.insert(unit.name);
    }
    for (qint64 level = 3; level <= 5; ++level) {
        QSet<QString> added;
        for (const Unit &unit : units) {
            if (unit.level != level)
                continue;
            if (shownNames.contains(unit.parent)) {
                added.insert(unit.name);
                continue;
            }
            out.add(Finding::UnitHidden, allNames.contains(unit.parent)
                                             ? QStringLiteral("%1 的直属管辖 %2 本身不在地区树中,所以它也看不到")
                                                   .arg(unitLabel(unit), shown(unit.parent))
                                             : QStringLiteral("%1 的直属管辖 %2 不存在,它在地区树中看不到")
                                                   .arg(unitLabel(unit), shown(unit.parent)));
        }
        shownNames.unite(added);
    }
    return true;
}

bool checkHouseholds(sqlite3 *db, const QHash<QString, QSet<QString>> &villages, qint64 total,
                     const CheckProgress &progress, int from, int to, Findings &out)
{
    Query query(db, QStringLiteral("SELECT rowid, * FROM %1").arg(quoted(hh::table)));
    if (!query.ok())
        return true; // no such table: the schema findings say so
    int unitColumn = -1, parentColumn = -1, headColumn = -1;
    for (int c = 1; c < query.columns(); ++c) {
        if (query.name(c) == hh::unit)
            unitColumn = c;
        else if (query.name(c) == hh::parentUnit)
            parentColumn = c;
        else if (query.name(c) == hh::headName)
            headColumn = c;
    }
    qint64 done = 0;
    int lastPercent = from;
    while (query.next()) {
        const QString head = headColumn > 0 ? query.text(headColumn) : QString();
        const QString where = QStringLiteral("id=%1(户主 %2)").arg(query.int64(0)).arg(shown(head));
        checkValues(query, 1, hh::table, where, out);
        if (headColumn > 0 && head.isEmpty())
            out.add(Finding::EmptyHead, QStringLiteral("成员信息 id=%1:户主是空的").arg(query.int64(0)));
        if (unitColumn > 0) {
            const QString unit = query.text(unitColumn);
            const auto village = villages.constFind(unit);
            if (village == villages.cend()) {
                out.add(Finding::HouseholdUnit,
                        QStringLiteral("成员信息 %1:所属管辖 %2 不是区域管理中的村委会").arg(where, shown(unit)));
            } else if (parentColumn > 0 && !village->contains(query.text(parentColumn))) {
                out.add(
                    Finding::HouseholdParent,
                    QStringLiteral("成员信息 %1:上级管辖 %2 与村委会 %3 的直属管辖 %4 不符")
                        .arg(where, shown(query.text(parentColumn)), shown(unit), shown(village->values().value(0))));
            }
        }
        ++done;
        if (progress && total > 0 && done % 1000 == 0) {
            const int percent = from + int((to - from) * done / total);
            if (percent != lastPercent)
                progress(lastPercent = percent);
        }
    }
    return !query.failed();
}

qint64 rowCount(sqlite3 *db, const QString &table)
{
    Query query(db, QStringLiteral("SELECT count(*) FROM %1").arg(quoted(table)));
    return query.next() ? query.int64(0) : -1;
}

} // namespace

CheckReport checkRegister(const QString &path, const CheckProgress &progress)
{
    CheckReport report;
    const auto step = [&](int percent) {
        if (progress)
            progress(percent);
    };
    step(0);
    Findings out;
    bool unreadable = false;
    int lastPercent = 0;
    const QStringList damage = integrityProblems(path, CheckDepth::Full, &unreadable, [&](double done) {
        const int percent = int(40 * done);
        if (percent > lastPercent)
            step(lastPercent = percent);
    });
    if (unreadable) {
        report.readable = false;
        report.reason = damage.value(0);
        return report;
    }
    for (const QString &line : damage)
        out.add(Finding::Damaged, QStringLiteral("文件损坏:%1").arg(line));
    step(40);

    sqlite3 *db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        report.readable = false;
        report.reason = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return report;
    }
    sqlite3_busy_timeout(db, 5000);
    for (const SchemaProblem &problem : schemaProblems(db))
        out.add(Finding::Schema, problem.text());
    QHash<QString, QSet<QString>> villages;
    bool readAll = checkUnits(db, out, villages);
    step(45);
    readAll = checkHouseholds(db, villages, rowCount(db, hh::table), progress, 45, 99, out) && readAll;
    {
        Query years(db, QStringLiteral("SELECT rowid, * FROM %1").arg(quoted(schema::years::table)));
        while (years.next())
            checkValues(years, 1, schema::years::table, QStringLiteral("第 %1 行").arg(years.int64(0)), out);
        readAll = !years.failed() && readAll;
    }
    if (!readAll && damage.isEmpty())
        out.add(Finding::Damaged, QStringLiteral("文件损坏:读取时出错 %1").arg(QString::fromUtf8(sqlite3_errmsg(db))));
    sqlite3_close(db);
    report.problemCount = out.total();
    report.findings = out.take();
    step(100);
    return report;
}

} // namespace fenlark::maintenance
