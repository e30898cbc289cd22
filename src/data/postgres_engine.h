#pragma once

#include "data/engine.h"

#include <QHash>
#include <QStringList>

#include <memory>

struct pg_conn;
struct pg_result;

namespace fenlark {

// A county register on a PostgreSQL server, reached through libpq. The program's SQL is
// rewritten into PostgreSQL's dialect (data/sql_dialect.h); values travel as text, so each
// arrives as the type the server infers for its place, and come back with the kinds the
// register's columns declare.
class PostgresEngine final : public Engine {
public:
    // Connects with a libpq connection string. Null on failure, with the server named and
    // libpq's reason in failure; needsPassword (when given) tells whether the server wanted a
    // password that was not given, so the program can ask the clerk for one.
    static std::unique_ptr<PostgresEngine> open(const QString &connectionString, QString &failure,
                                                bool *needsPassword = nullptr) noexcept;
    ~PostgresEngine() override;

    Kind kind() const noexcept override { return Kind::Postgres; }
    std::unique_ptr<EngineStatement> prepare(const QString &sql) noexcept override;
    bool exec(const QString &sql) noexcept override;
    bool begin(const QString &savepoint, bool outermost) noexcept override;
    bool commit(const QString &savepoint, bool outermost) noexcept override;
    void rollback(const QString &savepoint, bool outermost) noexcept override;
    qint64 changes() const noexcept override { return m_changes; }
    Error lastError() const override { return m_error; }

    // Used by the statements of this engine.
    pg_conn *connection() const noexcept { return m_conn; }
    void noteResult(const pg_result *result) noexcept; // a failure, or the rows a write touched
    void release(const QByteArray &statementName) noexcept;
    QString declaredType(unsigned table, int column);
    // False once the engine is gone: a statement may outlive its connection (as SQLite allows)
    // and must not reach back into it then.
    std::shared_ptr<const bool> aliveToken() const { return m_alive; }

private:
    explicit PostgresEngine(pg_conn *conn) : m_conn(conn) {}
    bool run(const QByteArray &sql) noexcept;
    void releasePending() noexcept;

    pg_conn *m_conn = nullptr;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    Error m_error;
    qint64 m_changes = 0;
    unsigned m_statementCounter = 0;
    QList<QByteArray> m_unreleased;                       // prepared statements to drop once the transaction allows
    QHash<unsigned, QHash<int, QString>> m_declaredTypes; // table oid → column number → type
};

} // namespace fenlark
