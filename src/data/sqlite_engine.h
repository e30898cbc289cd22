#pragma once

#include "data/engine.h"

namespace fenlark {

// The embedded engine: one SQLite file, the register of an office without a server.
class SqliteEngine final : public Engine {
public:
    // Opens an existing file for reading and writing (never creates one). Null on failure,
    // with SQLite's reason in failure.
    static std::unique_ptr<SqliteEngine> open(const QString &path, QString &failure) noexcept;
    ~SqliteEngine() override;

    Kind kind() const noexcept override { return Kind::Sqlite; }
    std::unique_ptr<EngineStatement> prepare(const QString &sql) noexcept override;
    bool exec(const QString &sql) noexcept override;
    bool begin(const QString &savepoint, bool outermost) noexcept override;
    bool commit(const QString &savepoint, bool outermost) noexcept override;
    void rollback(const QString &savepoint, bool outermost) noexcept override;
    qint64 changes() const noexcept override;
    Error lastError() const override;
    sqlite3 *sqliteHandle() const noexcept override { return m_db; }

private:
    explicit SqliteEngine(sqlite3 *db) : m_db(db) {}
    sqlite3 *m_db = nullptr;
};

} // namespace fenlark
