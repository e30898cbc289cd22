#include "data/sqlite_engine.h"

#include <sqlite3.h>

namespace fenlark {

namespace {

class SqliteStatement final : public EngineStatement {
public:
    explicit SqliteStatement(sqlite3_stmt *stmt) : m_stmt(stmt) {}
    ~SqliteStatement() override { sqlite3_finalize(m_stmt); }

    bool bind(int index, const FieldValue &value) noexcept override
    {
        int rc = SQLITE_OK;
        switch (value.type) {
        case FieldValue::Type::Null:
            rc = sqlite3_bind_null(m_stmt, index);
            break;
        case FieldValue::Type::Integer:
            rc = sqlite3_bind_int64(m_stmt, index, value.integer);
            break;
        case FieldValue::Type::Real:
            rc = sqlite3_bind_double(m_stmt, index, value.real);
            break;
        case FieldValue::Type::Text:
            // Never NULL for an empty text: "" stays a text.
            rc = sqlite3_bind_text(m_stmt, index, value.bytes.constData() ? value.bytes.constData() : "",
                                   int(value.bytes.size()), SQLITE_TRANSIENT);
            break;
        case FieldValue::Type::Blob:
            rc = sqlite3_bind_blob(m_stmt, index, value.bytes.constData() ? value.bytes.constData() : "",
                                   int(value.bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        return rc == SQLITE_OK;
    }

    Step step() noexcept override
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return Step::Row;
        return rc == SQLITE_DONE ? Step::Done : Step::Error;
    }

    void reset() noexcept override
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

    int columnCount() const noexcept override { return sqlite3_column_count(m_stmt); }

    QString columnName(int column) const override
    {
        const char *name = sqlite3_column_name(m_stmt, column);
        return name ? QString::fromUtf8(name) : QString();
    }

    QString declaredType(int column) const override
    {
        const char *type = sqlite3_column_decltype(m_stmt, column);
        return type ? QString::fromUtf8(type) : QString();
    }

    bool isNull(int column) const noexcept override { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }
    qint64 int64(int column) const noexcept override { return sqlite3_column_int64(m_stmt, column); }
    double real(int column) const noexcept override { return sqlite3_column_double(m_stmt, column); }

    QString text(int column) const override
    {
        const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        const int size = sqlite3_column_bytes(m_stmt, column);
        return data ? QString::fromUtf8(data, size) : QString();
    }

    FieldValue value(int column) const override
    {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER:
            return FieldValue::fromInteger(sqlite3_column_int64(m_stmt, column));
        case SQLITE_FLOAT:
            return FieldValue::fromReal(sqlite3_column_double(m_stmt, column));
        case SQLITE_TEXT: {
            const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
            const int size = sqlite3_column_bytes(m_stmt, column);
            return FieldValue{FieldValue::Type::Text, 0, 0.0, QByteArray(data ? data : "", size)};
        }
        case SQLITE_BLOB: {
            const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
            const int size = sqlite3_column_bytes(m_stmt, column);
            return FieldValue{FieldValue::Type::Blob, 0, 0.0, QByteArray(data ? data : "", size)};
        }
        default:
            return FieldValue::null();
        }
    }

private:
    sqlite3_stmt *m_stmt;
};

} // namespace

std::unique_ptr<SqliteEngine> SqliteEngine::open(const QString &path, QString &failure) noexcept
{
    sqlite3 *db = nullptr;
    const QByteArray file = path.toUtf8();
    // Never SQLITE_OPEN_CREATE: the register must exist; the program does not make one.
    const int rc = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        failure = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        if (db)
            sqlite3_close(db);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(db));
}

SqliteEngine::~SqliteEngine()
{
    sqlite3_close_v2(m_db);
}

std::unique_ptr<EngineStatement> SqliteEngine::prepare(const QString &sql) noexcept
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    if (!stmt)
        return nullptr; // only blanks: nothing to run, and no error either
    return std::make_unique<SqliteStatement>(stmt);
}

bool SqliteEngine::exec(const QString &sql) noexcept
{
    const QByteArray utf8 = sql.toUtf8();
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db, utf8.constData(), nullptr, nullptr, &message);
    if (message)
        sqlite3_free(message);
    return rc == SQLITE_OK;
}

// A savepoint outside a transaction starts one in SQLite, so every level is a savepoint.
bool SqliteEngine::begin(const QString &savepoint, bool) noexcept
{
    return exec(QStringLiteral("SAVEPOINT ") + savepoint);
}

bool SqliteEngine::commit(const QString &savepoint, bool) noexcept
{
    return exec(QStringLiteral("RELEASE ") + savepoint);
}

void SqliteEngine::rollback(const QString &savepoint, bool) noexcept
{
    exec(QStringLiteral("ROLLBACK TO ") + savepoint);
    exec(QStringLiteral("RELEASE ") + savepoint);
}

qint64 SqliteEngine::changes() const noexcept
{
    return sqlite3_changes64(m_db);
}

Engine::Error SqliteEngine::lastError() const
{
    const int native = sqlite3_extended_errcode(m_db);
    const int primary = native & 0xff;
    return {QString::fromUtf8(sqlite3_errmsg(m_db)), QString::number(primary), native,
            primary == SQLITE_CORRUPT || primary == SQLITE_IOERR || primary == SQLITE_NOTADB};
}

} // namespace fenlark
