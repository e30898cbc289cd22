#pragma once

#include "data/field_value.h"

#include <QString>

struct sqlite3_stmt;

namespace fenlark {

class DBConnection;

// A prepared statement that hands over whole stored values (storage class included) and
// tells the declared types of its columns: what the record layer needs beyond Statement.
// Values are only ever bound. Failures are recorded on the connection and reported as false.
class ValueQuery {
public:
    ValueQuery() = default;
    ValueQuery(DBConnection &connection, const QString &sql) noexcept;
    ~ValueQuery();
    ValueQuery(const ValueQuery &) = delete;
    ValueQuery &operator=(const ValueQuery &) = delete;
    ValueQuery(ValueQuery &&other) noexcept;
    ValueQuery &operator=(ValueQuery &&other) noexcept;

    bool isValid() const noexcept { return m_stmt != nullptr; }

    bool bind(int index, const FieldValue &value) noexcept; // from 1
    // One step: true on a result row; false at the end or on error (hasFailed tells which).
    bool next() noexcept;
    bool hasFailed() const noexcept { return m_failed; }
    // Runs to completion; true when the statement succeeded.
    bool finish() noexcept;
    void reset() noexcept;

    int columnCount() const noexcept;
    QString columnName(int column) const;
    QString declaredType(int column) const;
    FieldValue value(int column) const;
    qint64 integer(int column) const noexcept;

private:
    DBConnection *m_connection = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_failed = false;
};

QString quoteIdentifier(const QString &name);

} // namespace fenlark
