#pragma once

#include "data/field_value.h"

#include <QString>

#include <memory>
#include <vector>

namespace fenlark {

class DBConnection;

// A static, updatable cursor over the rows of one table or one query, walked row by row and
// read and written column by column by name. Every operation reports success as bool and
// never throws. (Interface fixed here; the implementation owns the details.)
class RecordSet {
public:
    RecordSet();
    ~RecordSet();
    RecordSet(const RecordSet &) = delete;
    RecordSet &operator=(const RecordSet &) = delete;

    bool attach(DBConnection &connection) noexcept;

    bool openTable(const QString &table) noexcept;
    bool openSorted(const QString &table, const QString &order) noexcept;
    bool openWhere(const QString &table, const QString &condition) noexcept;
    // The rows where condition holds, its ? marks bound to values in order: the way to narrow a
    // cursor by what a user typed.
    bool openWhere(const QString &table, const QString &condition, const std::vector<FieldValue> &values) noexcept;
    // The table for adding rows only: the cursor starts without rows, so opening reads none
    // however large the table is; every row this set adds joins it.
    bool openForAppend(const QString &table) noexcept;
    void close() noexcept;
    bool isOpen() const noexcept;

    bool moveFirst() noexcept;
    bool moveNext() noexcept;
    bool moveFromFirst(int n) noexcept;
    bool isAtEnd() const noexcept;

    bool find(const QString &criterion, int direction = 1) noexcept;
    bool findNext() noexcept;

    bool addNew() noexcept;
    bool update() noexcept;
    bool deleteCurrent() noexcept;
    bool deleteAll() noexcept;
    // Whether the last update or deleteCurrent was refused because its row was changed or
    // deleted since this set showed it (by another set, or on a table with a version column by
    // another connection: another clerk), rather than failing for another reason.
    bool wasChangedElsewhere() const noexcept;

    bool readText(const QString &column, QString &out) noexcept;
    bool readInt(const QString &column, int &out) noexcept;
    bool readBool(const QString &column, bool &out) noexcept;
    bool readDateTime(const QString &column, double &out) noexcept; // day count
    bool readDouble(const QString &column, double &out) noexcept;

    bool writeText(const QString &column, const QString &value) noexcept;
    bool writeInt(const QString &column, int value) noexcept;
    bool writeBool(const QString &column, bool value) noexcept;
    bool writeDateTime(const QString &column, double value, int part = 0) noexcept;
    bool writeDouble(const QString &column, double value) noexcept;

    // Called by the connection before another set changes or deletes a row of table
    // (rowid < 0: every row): this set keeps the values it would have shown.
    void preserveRow(const QString &table, qint64 rowid) noexcept;
    // Closes the set and forgets its connection; the connection calls it when it goes away.
    void detach() noexcept;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace fenlark
