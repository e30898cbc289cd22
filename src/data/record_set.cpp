#include "data/record_set.h"

#include "data/db_connection.h"
#include "data/field_value.h"
#include "data/find_criterion.h"
#include "data/server_schema.h"
#include "data/statement.h"

#include <QHash>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <new>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace fenlark {

namespace {

struct Column {
    QString name;
    ColumnKind kind;
};

using Row = std::vector<FieldValue>;

// A table name as the program may write it, "成员信息", [成员信息] or plain, without its quotes.
QString unquotedName(const QString &table)
{
    const QString name = table.trimmed();
    if (name.size() >= 2 &&
        ((name.front() == u'"' && name.back() == u'"') || (name.front() == u'[' && name.back() == u']') ||
         (name.front() == u'`' && name.back() == u'`')))
        return name.mid(1, name.size() - 2);
    return name;
}

// Table names compare as SQLite compares them: without quotes and without regard to ASCII case.
QString tableKey(const QString &table)
{
    return unquotedName(table).toCaseFolded();
}

} // namespace

// The cursor holds only the rowids of its rows, in the order of the open, and reads rows when a
// read asks for them, a window of up to kWindow rows at a time. Rows that another set is about
// to change or delete are kept in memory as they were, so the cursor keeps showing the rows as
// of its open; its own writes show at once.
struct RecordSet::Impl {
    enum class Pending { None, Adding, Editing };

    DBConnection *connection = nullptr;
    bool open = false;

    QString table;     // as the program named it; remembered for deleteAll
    QString tableName; // its comparable form
    QString quotedTable;
    QString rowidSql;                    // the open's query, run again to reload
    std::vector<FieldValue> rowidValues; // and the values bound to its marks
    std::vector<Column> columns;
    QHash<QString, int> columnIndex; // case-folded name → column

    std::vector<qint64> rowids;
    size_t position = 0; // == rowids.size(): the end
    // After deleteCurrent the deleted row stays current until the next move; position then
    // already points at the row that followed it.
    bool onDeletedRow = false;

    Statement rowQuery;
    // The rows about the current one, read together: a walk then costs the store one query per
    // kWindow rows instead of one per row. Never more than kWindow rows.
    static constexpr int kWindow = 64;
    Statement windowQuery; // SELECT rowid, * ... WHERE rowid IN (kWindow marks)
    std::unordered_map<qint64, Row> window;
    std::unordered_map<qint64, Row> preserved;

    // The row version column (data/server_schema.h), -1 when the table has none: a change or
    // deletion then only goes through while the row still has the version this set showed, so
    // another clerk's save in between is never overwritten.
    int versionColumn = -1;
    bool changedElsewhere = false; // why the last update or deleteCurrent was refused

    Pending pending = Pending::None;
    std::map<int, FieldValue> changes; // column → value, in column order
    size_t positionBeforeAdd = 0;
    bool deletedBeforeAdd = false;

    bool hasCriterion = false;
    QString criterion;
    int direction = 1;
    std::optional<size_t> lastFound;
    bool lastFoundDeleted = false; // the row found was deleted: lastFound is the one after it

    // The rows the remembered criterion matched when find asked the store, as this set showed
    // them then. findNext steps through the cursor against them instead of asking again, which
    // for a common value (a head name thousands share) costs the whole answer per step. Rows
    // another set changes since are kept by this set as they were, so the answer stays true for
    // them; this set's own writes judge again the row they wrote.
    struct Matches {
        int column = -1;
        CriterionMatcher matcher;
        std::unordered_set<qint64> rowids;
    };
    std::optional<Matches> matches;

    bool storeReady() const { return connection && connection->isOpen(); }
    bool onRow() const { return open && !onDeletedRow && position < rowids.size(); }

    int columnOf(const QString &name) const
    {
        // Names are looked up as written first; only another spelling pays for the case fold.
        const int exact = columnIndex.value(name, -1);
        return exact >= 0 ? exact : columnIndex.value(name.toCaseFolded(), -1);
    }

    void cancelPending()
    {
        if (pending == Pending::Adding) {
            position = positionBeforeAdd;
            onDeletedRow = deletedBeforeAdd;
        }
        pending = Pending::None;
        changes.clear();
    }

    void forgetFound()
    {
        lastFound.reset();
        lastFoundDeleted = false;
        matches.reset();
    }

    // After this set stored the row: whether it matches the remembered criterion now.
    void judgeAgain(qint64 oldRowid, qint64 rowid)
    {
        if (!matches)
            return;
        matches->rowids.erase(oldRowid);
        const Row *row = rowValues(rowid);
        try {
            if (row && matches->matcher.matches((*row)[size_t(matches->column)]))
                matches->rowids.insert(rowid);
        } catch (const std::bad_alloc &) {
            matches.reset(); // the next findNext asks the store again
        }
    }

    void moveToEnd()
    {
        position = rowids.size();
        onDeletedRow = false;
    }

    bool loadRow(qint64 rowid, Row &out)
    {
        if (!storeReady() || !rowQuery.isValid())
            return false;
        rowQuery.reset();
        rowQuery.bind(1, FieldValue::fromInteger(rowid));
        const bool found = rowQuery.step();
        if (found) {
            out.resize(columns.size());
            for (size_t i = 0; i < columns.size(); ++i)
                out[i] = rowQuery.value(int(i));
        }
        rowQuery.reset();
        return found;
    }

    // The row as this set shows it: kept as it was when another set changed it, else as stored.
    const Row *rowValues(qint64 rowid)
    {
        if (const auto kept = preserved.find(rowid); kept != preserved.end())
            return &kept->second;
        if (const auto near = window.find(rowid); near != window.end())
            return &near->second;
        loadWindow(rowid);
        const auto loaded = window.find(rowid);
        return loaded != window.end() ? &loaded->second : nullptr;
    }

    // Reads the row and those that follow it in the cursor, up to kWindow rows.
    void loadWindow(qint64 rowid)
    {
        window.clear();
        if (!storeReady())
            return;
        if (!windowQuery.isValid()) {
            Row row;
            if (loadRow(rowid, row))
                window.emplace(rowid, std::move(row));
            return;
        }
        const size_t from = onRow() && rowids[position] == rowid ? position : rowids.size();
        windowQuery.reset();
        windowQuery.bind(1, FieldValue::fromInteger(rowid));
        for (int mark = 2; mark <= kWindow; ++mark) {
            const size_t at = from + size_t(mark - 1);
            windowQuery.bind(mark, at < rowids.size() ? FieldValue::fromInteger(rowids[at]) : FieldValue::null());
        }
        try {
            while (windowQuery.step()) {
                Row row(columns.size());
                for (size_t i = 0; i < columns.size(); ++i)
                    row[i] = windowQuery.value(int(i) + 1);
                window.emplace(windowQuery.int64(0), std::move(row));
            }
        } catch (const std::bad_alloc &) {
            window.clear();
        }
        windowQuery.reset();
    }

    void forgetRow(qint64 rowid)
    {
        preserved.erase(rowid);
        window.erase(rowid);
    }

    // The version this set shows of the row (NULL when the table has none).
    FieldValue shownVersion(qint64 rowid)
    {
        if (versionColumn < 0)
            return FieldValue::null();
        const Row *row = rowValues(rowid);
        return row ? (*row)[size_t(versionColumn)] : FieldValue::null();
    }

    // Optimistic locking: a row another set has changed (or deleted) since this set showed it
    // may not be overwritten; the write fails unless the store still holds what this set shows.
    bool unchangedElsewhere(qint64 rowid)
    {
        const auto kept = preserved.find(rowid);
        if (kept == preserved.end())
            return true;
        Row stored;
        return loadRow(rowid, stored) && stored == kept->second;
    }

    bool readField(const QString &column, FieldValue &value, ColumnKind &kind)
    {
        if (!open)
            return false;
        const int index = columnOf(column);
        if (index < 0)
            return false;
        kind = columns[size_t(index)].kind;
        if (pending == Pending::Adding) {
            const auto written = changes.find(index);
            value = written != changes.end() ? written->second : FieldValue::null();
            return true;
        }
        if (!onRow())
            return false;
        if (pending == Pending::Editing) {
            if (const auto written = changes.find(index); written != changes.end()) {
                value = written->second;
                return true;
            }
        }
        const Row *row = rowValues(rowids[position]);
        if (!row)
            return false;
        value = (*row)[size_t(index)];
        return true;
    }

    // Where a write would go, and the kind of its column; -1 when it cannot be written.
    int writableColumn(const QString &column) const
    {
        if (!open || (pending != Pending::Adding && !onRow()))
            return -1;
        return columnOf(column);
    }

    bool write(int index, const std::optional<FieldValue> &value)
    {
        if (index < 0 || !value)
            return false;
        if (pending == Pending::None)
            pending = Pending::Editing;
        changes[index] = *value;
        return true;
    }

    bool loadRowids(const QString &sql, const std::vector<FieldValue> &values, std::vector<qint64> &out)
    {
        Statement query(*connection, sql);
        if (!query.isValid())
            return false;
        for (size_t i = 0; i < values.size(); ++i)
            query.bind(int(i) + 1, values[i]); // a failed bind fails the first step
        try {
            while (query.step())
                out.push_back(query.int64(0));
        } catch (const std::bad_alloc &) {
            return false;
        }
        return !query.hasFailed();
    }

    void clearCursor()
    {
        cancelPending();
        open = false;
        table.clear();
        tableName.clear();
        quotedTable.clear();
        rowidSql.clear();
        rowidValues.clear();
        versionColumn = -1;
        columns.clear();
        columnIndex.clear();
        std::vector<qint64>().swap(rowids);
        position = 0;
        onDeletedRow = false;
        rowQuery = Statement();
        windowQuery = Statement();
        window.clear();
        preserved.clear();
        forgetFound();
    }

    bool openWith(const QString &name, const QString &sql, const std::vector<FieldValue> &values = {})
    {
        clearCursor();
        if (!storeReady())
            return false;
        std::vector<qint64> ids;
        try {
            if (!loadRowids(sql, values, ids))
                return false;
            rowidValues = values;
        } catch (const std::bad_alloc &) {
            return false;
        }
        const QString quoted = quoteIdentifier(unquotedName(name));
        Statement row(*connection, QStringLiteral("SELECT * FROM ") + quoted + QStringLiteral(" WHERE rowid = ?"));
        if (!row.isValid())
            return false;
        for (int i = 0; i < row.columnCount(); ++i) {
            columns.push_back({row.columnName(i), columnKindFromDeclaredType(row.declaredType(i))});
            const QString key = columns.back().name.toCaseFolded();
            if (!columnIndex.contains(key))
                columnIndex.insert(key, i);
            if (!columnIndex.contains(columns.back().name))
                columnIndex.insert(columns.back().name, i);
        }
        versionColumn = columnOf(schema::versionColumn);
        table = name;
        tableName = tableKey(name);
        quotedTable = quoted;
        rowidSql = sql;
        rowids = std::move(ids);
        rowQuery = std::move(row);
        QStringList marks;
        for (int i = 0; i < kWindow; ++i)
            marks << QStringLiteral("?");
        windowQuery =
            Statement(*connection, QStringLiteral("SELECT rowid, * FROM ") + quoted +
                                       QStringLiteral(" WHERE rowid IN (") + marks.join(QStringLiteral(", ")) + u')');
        position = 0;
        open = true;
        return true;
    }

    // Searches from index start (may be -1 or past the end) in the remembered direction.
    bool search(qint64 start)
    {
        const bool forward = direction >= 0;
        const auto fail = [this] {
            moveToEnd();
            forgetFound();
            return false;
        };
        const qint64 count = qint64(rowids.size());
        if (forward && start < 0)
            start = 0;
        if (!forward && start >= count)
            start = count - 1;
        const qint64 step = forward ? 1 : -1;
        const auto found = [this](qint64 at) {
            position = size_t(at);
            onDeletedRow = false;
            lastFound = size_t(at);
            lastFoundDeleted = false;
            return true;
        };
        if (matches) {
            for (qint64 at = start; at >= 0 && at < count; at += step) {
                if (matches->rowids.count(rowids[size_t(at)]))
                    return found(at);
            }
            return fail();
        }

        const std::optional<FindCriterion> parsed = parseFindCriterion(criterion);
        if (!parsed)
            return fail();
        const int index = columnOf(parsed->column);
        if (index < 0)
            return fail();
        const std::optional<CriterionMatcher> matcher = CriterionMatcher::make(columns[size_t(index)].kind, *parsed);
        if (!matcher || !storeReady())
            return fail();

        const QString columnSql = quoteIdentifier(columns[size_t(index)].name);
        if (matcher->storeCanCompare()) {
            // The store picks the matching rowids (through an index where there is one); the
            // cursor order then decides which comes first. Rows kept from before another set's
            // change are judged by what this set shows of them.
            Statement query(*connection,
                            QStringLiteral("SELECT rowid FROM ") + quotedTable + QStringLiteral(" WHERE ") + columnSql +
                                QStringLiteral(" = ?") +
                                (matcher->needsBinaryCollation() ? QStringLiteral(" COLLATE BINARY") : QString()));
            std::unordered_set<qint64> matching;
            query.bind(1, matcher->bindValue()); // a failed bind fails the first step
            while (query.step())
                matching.insert(query.int64(0));
            if (query.hasFailed())
                return fail();
            for (const auto &[rowid, row] : preserved) {
                if (matcher->matches(row[size_t(index)]))
                    matching.insert(rowid);
                else
                    matching.erase(rowid);
            }
            if (matching.empty())
                return fail();
            matches = Matches{index, *matcher, std::move(matching)};
            for (qint64 at = start; at >= 0 && at < count; at += step) {
                if (matches->rowids.count(rowids[size_t(at)]))
                    return found(at);
            }
            return fail();
        }

        // Kinds the store compares differently (yes/no, date-times): row by row.
        Statement query(*connection, QStringLiteral("SELECT ") + columnSql + QStringLiteral(" FROM ") + quotedTable +
                                         QStringLiteral(" WHERE rowid = ?"));
        if (!query.isValid())
            return fail();
        for (qint64 at = start; at >= 0 && at < count; at += step) {
            const qint64 rowid = rowids[size_t(at)];
            FieldValue value;
            if (const auto kept = preserved.find(rowid); kept != preserved.end()) {
                value = kept->second[size_t(index)];
            } else {
                query.reset();
                query.bind(1, FieldValue::fromInteger(rowid));
                if (!query.step()) {
                    if (query.hasFailed())
                        return fail();
                    continue; // gone from the store without notice: nothing to compare
                }
                value = query.value(0);
            }
            if (matcher->matches(value))
                return found(at);
        }
        return fail();
    }
};

RecordSet::RecordSet() : d(std::make_unique<Impl>()) {}

RecordSet::~RecordSet()
{
    detach();
}

bool RecordSet::attach(DBConnection &connection) noexcept
{
    if (d->connection == &connection)
        return true;
    detach();
    d->connection = &connection;
    connection.registerRecordSet(this);
    return true;
}

void RecordSet::detach() noexcept
{
    close();
    if (d->connection) {
        d->connection->unregisterRecordSet(this);
        d->connection = nullptr;
    }
}

bool RecordSet::openTable(const QString &table) noexcept
{
    // All rows in the store's natural order: the order they were inserted in.
    return d->openWith(table, QStringLiteral("select rowid from ") + quoteIdentifier(unquotedName(table)) +
                                  QStringLiteral(" order by rowid"));
}

bool RecordSet::openSorted(const QString &table, const QString &order) noexcept
{
    // "select * from %s order by %s", reading the rowids only; rows equal in the order keep
    // their natural order.
    return d->openWith(table, QStringLiteral("select rowid from %1 order by %2, rowid").arg(table, order));
}

bool RecordSet::openWhere(const QString &table, const QString &condition) noexcept
{
    // "select * from %s where %s", reading the rowids only, in the natural order.
    return d->openWith(table, QStringLiteral("select rowid from %1 where %2 order by rowid").arg(table, condition));
}

bool RecordSet::openWhere(const QString &table, const QString &condition,
                          const std::vector<FieldValue> &values) noexcept
{
    return d->openWith(table, QStringLiteral("select rowid from %1 where %2 order by rowid").arg(table, condition),
                       values);
}

bool RecordSet::openForAppend(const QString &table) noexcept
{
    return d->openWith(table, QStringLiteral("select rowid from ") + quoteIdentifier(unquotedName(table)) +
                                  QStringLiteral(" where 1 = 0"));
}

void RecordSet::close() noexcept
{
    d->clearCursor();
}

bool RecordSet::isOpen() const noexcept
{
    return d->open;
}

bool RecordSet::moveFirst() noexcept
{
    if (!d->open)
        return false;
    d->cancelPending();
    d->onDeletedRow = false;
    d->position = 0;
    return !d->rowids.empty();
}

bool RecordSet::moveNext() noexcept
{
    if (!d->open)
        return false;
    d->cancelPending();
    if (d->onDeletedRow) {
        d->onDeletedRow = false; // the row after the deleted one is already in place
        return true;
    }
    if (d->position >= d->rowids.size())
        return false;
    ++d->position;
    return true;
}

bool RecordSet::moveFromFirst(int n) noexcept
{
    if (!d->open)
        return false;
    d->cancelPending();
    if (n < 0 || d->rowids.empty()) {
        d->moveToEnd();
        return false;
    }
    d->onDeletedRow = false;
    d->position = std::min(size_t(n), d->rowids.size());
    return true;
}

bool RecordSet::isAtEnd() const noexcept
{
    if (!d->open)
        return true;
    if (d->pending == Impl::Pending::Adding || d->onDeletedRow)
        return false;
    return d->position >= d->rowids.size();
}

bool RecordSet::find(const QString &criterion, int direction) noexcept
{
    d->hasCriterion = true;
    d->criterion = criterion;
    d->direction = direction;
    d->forgetFound();
    if (!d->open)
        return false;
    d->cancelPending();
    // From the current row, the current row included; from a deleted row, its neighbour.
    qint64 start = qint64(d->position);
    if (direction < 0 && d->onDeletedRow)
        --start;
    return d->search(start);
}

bool RecordSet::findNext() noexcept
{
    if (!d->hasCriterion || !d->open)
        return false;
    d->cancelPending();
    if (!d->lastFound) {
        d->moveToEnd();
        return false;
    }
    // From the row after the last row found, wherever the cursor is now.
    const qint64 last = qint64(*d->lastFound);
    qint64 start = 0;
    if (d->direction >= 0)
        start = d->lastFoundDeleted ? last : last + 1;
    else
        start = last - 1;
    return d->search(start);
}

bool RecordSet::addNew() noexcept
{
    if (!d->open)
        return false;
    d->cancelPending();
    d->positionBeforeAdd = d->position;
    d->deletedBeforeAdd = d->onDeletedRow;
    d->pending = Impl::Pending::Adding;
    return true;
}

bool RecordSet::update() noexcept
{
    d->changedElsewhere = false;
    if (!d->open)
        return false;
    if (d->pending == Impl::Pending::None)
        return true; // nothing to store
    if (!d->storeReady()) {
        d->cancelPending();
        return false;
    }

    QStringList names;
    for (const auto &[index, value] : d->changes)
        names << quoteIdentifier(d->columns[size_t(index)].name);

    Transaction transaction(*d->connection);
    if (d->pending == Impl::Pending::Adding) {
        QString sql = QStringLiteral("INSERT INTO ") + d->quotedTable;
        if (names.isEmpty()) {
            sql += QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marks;
            for (qsizetype i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            sql += QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                   marks.join(QStringLiteral(", ")) + u')';
        }
        Statement insert(*d->connection, sql + QStringLiteral(" RETURNING rowid"));
        int at = 1;
        for (const auto &[index, value] : d->changes)
            insert.bind(at++, value);
        if (!insert.step()) {
            d->cancelPending();
            return false;
        }
        const qint64 rowid = insert.int64(0);
        if (!insert.exec() || !transaction.commit()) {
            d->cancelPending();
            return false;
        }
        d->pending = Impl::Pending::None;
        d->changes.clear();
        try {
            d->rowids.push_back(rowid);
        } catch (const std::bad_alloc &) {
            d->moveToEnd();
            return true; // stored, though this cursor cannot show it
        }
        d->position = d->rowids.size() - 1;
        d->onDeletedRow = false;
        d->judgeAgain(rowid, rowid);
        return true;
    }

    if (!d->onRow()) {
        d->cancelPending();
        return false;
    }
    const qint64 rowid = d->rowids[d->position];
    if (!d->unchangedElsewhere(rowid)) {
        d->changedElsewhere = true;
        d->cancelPending();
        return false;
    }
    const bool versioned = d->versionColumn >= 0 && !d->changes.count(d->versionColumn);
    const FieldValue version = versioned ? d->shownVersion(rowid) : FieldValue::null();
    d->connection->rowWillChange(d->table, rowid, this);
    QStringList assignments;
    for (const QString &name : names)
        assignments << name + QStringLiteral(" = ?");
    const QString versionSql = quoteIdentifier(schema::versionColumn);
    if (versioned)
        assignments << versionSql + QStringLiteral(" = ") + versionSql + QStringLiteral(" + 1");
    Statement change(*d->connection,
                     QStringLiteral("UPDATE ") + d->quotedTable + QStringLiteral(" SET ") +
                         assignments.join(QStringLiteral(", ")) + QStringLiteral(" WHERE rowid = ?") +
                         (versioned ? QStringLiteral(" AND ") + versionSql + QStringLiteral(" = ?") : QString()) +
                         QStringLiteral(" RETURNING rowid"));
    int at = 1;
    for (const auto &[index, value] : d->changes)
        change.bind(at++, value);
    change.bind(at++, FieldValue::fromInteger(rowid));
    if (versioned)
        change.bind(at, version);
    const bool changed = change.step();
    // No row with the version shown: another connection changed or deleted it meanwhile.
    d->changedElsewhere = !changed && !change.hasFailed();
    const qint64 newRowid = changed ? change.int64(0) : rowid;
    const bool stored = changed && change.exec() && transaction.commit();
    d->cancelPending();
    if (!stored)
        return false;
    d->forgetRow(rowid);
    d->rowids[d->position] = newRowid; // a rewritten id moves the row's rowid with it
    d->judgeAgain(rowid, newRowid);
    return true;
}

bool RecordSet::deleteCurrent() noexcept
{
    d->changedElsewhere = false;
    if (!d->open)
        return false;
    if (d->pending == Impl::Pending::Adding) {
        d->cancelPending(); // the new row was never stored: nothing to delete
        return false;
    }
    d->cancelPending();
    if (!d->onRow() || !d->storeReady())
        return false;
    const qint64 rowid = d->rowids[d->position];
    Transaction transaction(*d->connection);
    if (!d->unchangedElsewhere(rowid)) {
        d->changedElsewhere = true;
        return false;
    }
    const bool versioned = d->versionColumn >= 0;
    const FieldValue version = versioned ? d->shownVersion(rowid) : FieldValue::null();
    d->connection->rowWillChange(d->table, rowid, this);
    Statement removal(
        *d->connection,
        QStringLiteral("DELETE FROM ") + d->quotedTable + QStringLiteral(" WHERE rowid = ?") +
            (versioned ? QStringLiteral(" AND ") + quoteIdentifier(schema::versionColumn) + QStringLiteral(" = ?")
                       : QString()) +
            QStringLiteral(" RETURNING rowid"));
    removal.bind(1, FieldValue::fromInteger(rowid));
    if (versioned)
        removal.bind(2, version);
    const bool removed = removal.step();
    d->changedElsewhere = !removed && !removal.hasFailed();
    if (!removed || !removal.exec() || !transaction.commit())
        return false;

    d->forgetRow(rowid);
    if (d->matches)
        d->matches->rowids.erase(rowid); // a later row added may take its rowid
    d->rowids.erase(d->rowids.begin() + qsizetype(d->position));
    d->onDeletedRow = true;
    if (d->lastFound) {
        if (*d->lastFound > d->position)
            --*d->lastFound;
        else if (*d->lastFound == d->position)
            d->lastFoundDeleted = true;
    }
    return true;
}

bool RecordSet::deleteAll() noexcept
{
    if (!d->open || d->table.isEmpty() || !d->storeReady())
        return false;
    d->cancelPending();
    d->connection->rowWillChange(d->table, -1, this);
    {
        Transaction transaction(*d->connection);
        if (execScript(*d->connection, QStringLiteral("delete from %1").arg(d->table)))
            transaction.commit();
    }
    // Reload: the same query again, from a fresh view of the store.
    std::vector<qint64> ids;
    const bool reloaded = d->loadRowids(d->rowidSql, d->rowidValues, ids);
    d->rowids = std::move(ids);
    d->position = 0;
    d->onDeletedRow = false;
    d->preserved.clear();
    d->window.clear();
    d->forgetFound();
    return reloaded && d->rowids.empty();
}

bool RecordSet::readText(const QString &column, QString &out) noexcept
{
    out = QString();
    FieldValue value;
    ColumnKind kind = ColumnKind::Text;
    if (!d->readField(column, value, kind))
        return false;
    out = textForRead(kind, value);
    return true;
}

bool RecordSet::readInt(const QString &column, int &out) noexcept
{
    FieldValue value;
    ColumnKind kind = ColumnKind::Text;
    if (!d->readField(column, value, kind) || !isIntegerKind(kind))
        return false;
    if (value.isNull()) {
        out = 0;
        return true;
    }
    const std::optional<qint64> number = integerOf(value);
    if (!number || *number < INT_MIN || *number > INT_MAX)
        return false;
    out = int(*number);
    return true;
}

bool RecordSet::readBool(const QString &column, bool &out) noexcept
{
    out = false;
    FieldValue value;
    ColumnKind kind = ColumnKind::Text;
    if (!d->readField(column, value, kind))
        return false;
    const std::optional<bool> flag = boolOf(value);
    if (!flag)
        return false;
    out = *flag;
    return true;
}

bool RecordSet::readDateTime(const QString &column, double &out) noexcept
{
    out = 0.0; // 1899-12-30 00:00:00
    FieldValue value;
    ColumnKind kind = ColumnKind::Text;
    if (!d->readField(column, value, kind))
        return false;
    const std::optional<double> days = dayCountOf(value);
    if (!days)
        return false;
    out = *days;
    return true;
}

bool RecordSet::readDouble(const QString &column, double &out) noexcept
{
    FieldValue value;
    ColumnKind kind = ColumnKind::Text;
    if (!d->readField(column, value, kind) || !isNumberKind(kind))
        return false;
    if (value.isNull()) {
        out = 0.0;
        return true;
    }
    const std::optional<double> number = realOf(value);
    if (!number)
        return false;
    out = *number;
    return true;
}

bool RecordSet::writeText(const QString &column, const QString &value) noexcept
{
    const int index = d->writableColumn(column);
    return index >= 0 && d->write(index, valueFromText(d->columns[size_t(index)].kind, value));
}

bool RecordSet::writeInt(const QString &column, int value) noexcept
{
    const int index = d->writableColumn(column);
    if (index < 0 || !isIntegerKind(d->columns[size_t(index)].kind))
        return false;
    return d->write(index, FieldValue::fromInteger(value));
}

bool RecordSet::writeBool(const QString &column, bool value) noexcept
{
    const int index = d->writableColumn(column);
    return index >= 0 && d->write(index, valueFromBool(d->columns[size_t(index)].kind, value));
}

bool RecordSet::writeDateTime(const QString &column, double value, int part) noexcept
{
    const int index = d->writableColumn(column);
    if (index < 0)
        return false;
    double days = value;
    if (part == 1) {
        days = std::trunc(value); // the date at 00:00:00
    } else if (part == 2) {
        days = std::fabs(value - std::trunc(value)); // the time of day on 1899-12-30
    }
    return d->write(index, valueFromDayCount(d->columns[size_t(index)].kind, days));
}

bool RecordSet::writeDouble(const QString &column, double value) noexcept
{
    const int index = d->writableColumn(column);
    if (index < 0)
        return false;
    const ColumnKind kind = d->columns[size_t(index)].kind;
    if (!isNumberKind(kind))
        return false;
    const std::optional<double> kept = numberForKind(kind, value);
    return kept && d->write(index, FieldValue::fromReal(*kept));
}

bool RecordSet::wasChangedElsewhere() const noexcept
{
    return d->changedElsewhere;
}

void RecordSet::preserveRow(const QString &table, qint64 rowid) noexcept
{
    if (!d->open || tableKey(table) != d->tableName)
        return;
    const auto keep = [this](qint64 id) {
        if (d->preserved.count(id))
            return;
        try {
            if (const auto near = d->window.find(id); near != d->window.end()) {
                d->preserved.emplace(id, near->second);
                return;
            }
            Row row;
            if (d->loadRow(id, row))
                d->preserved.emplace(id, std::move(row));
        } catch (const std::bad_alloc &) {
            // Without memory to keep it, this set shows the row as it is stored.
        }
    };
    if (rowid < 0) {
        for (const qint64 id : d->rowids)
            keep(id);
        return;
    }
    if (std::find(d->rowids.begin(), d->rowids.end(), rowid) != d->rowids.end())
        keep(rowid);
}

} // namespace fenlark
