#pragma once

#include "data/engine.h"
#include "data/field_value.h"

#include <QString>

#include <memory>

namespace fenlark {

class DBConnection;

// One prepared SQL statement with bound parameters. Values a user typed are only ever
// bound, never pasted into the SQL text. Every call is noexcept; failures are recorded on
// the connection and reported as false.
class Statement {
public:
    Statement() = default; // not prepared: every call fails
    Statement(DBConnection &connection, const QString &sql) noexcept;
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;

    bool isValid() const noexcept { return m_stmt != nullptr; }

    // Parameters count from 1, as in SQLite; the SQL marks them ? or ?N on every engine.
    Statement &bind(int index, qint64 value) noexcept;
    Statement &bind(int index, int value) noexcept { return bind(index, qint64(value)); }
    Statement &bind(int index, double value) noexcept;
    Statement &bind(int index, const QString &value) noexcept; // always a text, "" for a null QString
    Statement &bindNull(int index) noexcept;
    // A whole stored value, storage class included (the record layer's reads and writes).
    Statement &bind(int index, const FieldValue &value) noexcept;

    // Advances to the next result row: true while there is one. false at the end or on
    // error (hasFailed() tells which).
    bool step() noexcept;
    // Runs the statement to completion (for writes); true when it succeeded.
    bool exec() noexcept;
    // Makes the statement ready to run again with new bindings.
    void reset() noexcept;
    bool hasFailed() const noexcept { return m_failed; }

    int columnCount() const noexcept;
    bool isNull(int column) const noexcept;
    qint64 int64(int column) const noexcept;
    double real(int column) const noexcept;
    QString text(int column) const;     // NULL reads as the empty text
    FieldValue value(int column) const; // the stored value with its storage class
    QString columnName(int column) const;
    QString declaredType(int column) const; // the column's type as the table declares it

private:
    DBConnection *m_connection = nullptr;
    std::unique_ptr<EngineStatement> m_stmt;
    bool m_failed = false;
    bool m_bindFailed = false;
};

// All writes of one user action in one unit: rolls back unless commit() was called.
// Nests (savepoints), so an operation may open one inside another's.
class Transaction {
public:
    explicit Transaction(DBConnection &connection) noexcept;
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool isActive() const noexcept { return m_active; }
    bool commit() noexcept;

private:
    DBConnection &m_connection;
    QString m_name;
    bool m_active = false;
};

// An identifier in double quotes, inner quotes doubled.
QString quoteIdentifier(const QString &name);

// Runs SQL that takes no parameters (schema scripts of several statements).
bool execScript(DBConnection &connection, const QString &sql) noexcept;

// True when the register file has an index of this name; false on a server, which keeps its own.
// The probe is finished when this returns, so a DROP may follow.
bool indexExists(DBConnection &connection, const QString &name);

} // namespace fenlark
