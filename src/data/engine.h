#pragma once

#include "data/field_value.h"

#include <QString>

#include <memory>

struct sqlite3;

namespace fenlark {

// The few things the record layer asks of a database engine. DBConnection, Statement and
// Transaction are the program's view of the store; an Engine is what sits behind them: the
// embedded SQLite file of an office, or a PostgreSQL server shared by a county. Everything a
// dialect needs (placeholders, key column, function names) is settled inside the engine, so
// the SQL above this seam is written once.
class EngineStatement {
public:
    enum class Step { Row, Done, Error };

    virtual ~EngineStatement() = default;

    // Parameters count from 1. False when the value cannot be bound (no such parameter).
    virtual bool bind(int index, const FieldValue &value) noexcept = 0;
    virtual Step step() noexcept = 0;
    // Ready to run again, every binding cleared.
    virtual void reset() noexcept = 0;

    virtual int columnCount() const noexcept = 0;
    virtual QString columnName(int column) const = 0;
    // The column's type as its table declares it, in the register's own words (INTEGER,
    // BOOLEAN, DOUBLE, DATETIME, TEXT, or the engine's spelling of another type); "" for an
    // expression.
    virtual QString declaredType(int column) const = 0;

    // The current row's values; NULL, 0 or "" when there is no current row.
    virtual bool isNull(int column) const noexcept = 0;
    virtual qint64 int64(int column) const noexcept = 0;
    virtual double real(int column) const noexcept = 0;
    virtual QString text(int column) const = 0;
    virtual FieldValue value(int column) const = 0;
};

class Engine {
public:
    enum class Kind { Sqlite, Postgres };

    // The last failure, as the engine tells it. damage: the store itself failed (a damaged
    // file, a failing disk, a lost server), so what was read may be cut short.
    struct Error {
        QString message;
        QString state;
        int native = 0;
        bool damage = false;
    };

    virtual ~Engine() = default;

    virtual Kind kind() const noexcept = 0;
    // Null when the SQL does not prepare; lastError() tells why.
    virtual std::unique_ptr<EngineStatement> prepare(const QString &sql) noexcept = 0;
    // SQL without parameters, possibly several statements.
    virtual bool exec(const QString &sql) noexcept = 0;

    // Nested units of work: the outermost one is the engine's transaction, the inner ones its
    // savepoints. The caller keeps the depth.
    virtual bool begin(const QString &savepoint, bool outermost) noexcept = 0;
    virtual bool commit(const QString &savepoint, bool outermost) noexcept = 0;
    virtual void rollback(const QString &savepoint, bool outermost) noexcept = 0;

    // The rows the last write touched. (A new row's key comes from its INSERT's RETURNING: on a
    // server lastval() would answer the sequence of whatever a trigger inserted last.)
    virtual qint64 changes() const noexcept = 0;

    virtual Error lastError() const = 0;

    // The SQLite handle, for the file tools that work on SQLite files alone; null otherwise.
    virtual sqlite3 *sqliteHandle() const noexcept { return nullptr; }
};

} // namespace fenlark
