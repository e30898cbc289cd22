#include "data/statement.h"

#include "data/db_connection.h"

#include <sqlite3.h>

#include <atomic>
#include <utility>

namespace fenlark {

Statement::Statement(DBConnection &connection, const QString &sql) noexcept : m_connection(&connection)
{
    if (!connection.isOpen()) {
        m_failed = true;
        return;
    }
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(connection.handle(), utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK) {
        connection.recordError(QStringLiteral("prepare"));
        m_stmt = nullptr;
        m_failed = true;
    }
}

Statement::Statement(Statement &&other) noexcept
    : m_connection(other.m_connection), m_stmt(other.m_stmt), m_failed(other.m_failed), m_bindFailed(other.m_bindFailed)
{
    other.m_stmt = nullptr;
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_connection = other.m_connection;
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_failed = other.m_failed;
        m_bindFailed = other.m_bindFailed;
    }
    return *this;
}

Statement::~Statement()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

Statement &Statement::bind(int index, qint64 value) noexcept
{
    if (!m_stmt || sqlite3_bind_int64(m_stmt, index, value) != SQLITE_OK)
        m_bindFailed = true;
    return *this;
}

Statement &Statement::bind(int index, double value) noexcept
{
    if (!m_stmt || sqlite3_bind_double(m_stmt, index, value) != SQLITE_OK)
        m_bindFailed = true;
    return *this;
}

Statement &Statement::bind(int index, const QString &value) noexcept
{
    if (!m_stmt) {
        m_bindFailed = true;
        return *this;
    }
    // Always a text, also for a null QString: an empty field is stored as "", never NULL.
    const QByteArray utf8 = value.toUtf8();
    if (sqlite3_bind_text(m_stmt, index, utf8.constData() ? utf8.constData() : "", int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        m_bindFailed = true;
    return *this;
}

Statement &Statement::bindNull(int index) noexcept
{
    if (!m_stmt || sqlite3_bind_null(m_stmt, index) != SQLITE_OK)
        m_bindFailed = true;
    return *this;
}

bool Statement::step() noexcept
{
    if (!m_stmt || m_bindFailed) {
        m_failed = true;
        return false;
    }
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE) {
        m_failed = true;
        m_connection->recordError(QStringLiteral("step"));
    }
    return false;
}

bool Statement::exec() noexcept
{
    while (step()) {
    }
    return !m_failed;
}

void Statement::reset() noexcept
{
    if (!m_stmt)
        return;
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    m_failed = false;
    m_bindFailed = false;
}

int Statement::columnCount() const noexcept
{
    return m_stmt ? sqlite3_column_count(m_stmt) : 0;
}

bool Statement::isNull(int column) const noexcept
{
    return !m_stmt || sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 Statement::int64(int column) const noexcept
{
    return m_stmt ? sqlite3_column_int64(m_stmt, column) : 0;
}

double Statement::real(int column) const noexcept
{
    return m_stmt ? sqlite3_column_double(m_stmt, column) : 0.0;
}

QString Statement::text(int column) const
{
    if (!m_stmt)
        return QString();
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? QString::fromUtf8(data, size) : QString();
}

Statement &Statement::bind(int index, const FieldValue &value) noexcept
{
    if (!m_stmt) {
        m_bindFailed = true;
        return *this;
    }
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
    if (rc != SQLITE_OK) {
        m_connection->recordError(QStringLiteral("bind"));
        m_bindFailed = true;
    }
    return *this;
}

QString Statement::columnName(int column) const
{
    const char *name = m_stmt ? sqlite3_column_name(m_stmt, column) : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

QString Statement::declaredType(int column) const
{
    const char *type = m_stmt ? sqlite3_column_decltype(m_stmt, column) : nullptr;
    return type ? QString::fromUtf8(type) : QString();
}

FieldValue Statement::value(int column) const
{
    if (!m_stmt)
        return FieldValue::null();
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

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

namespace {
std::atomic<unsigned> g_savepointCounter{0};
}

Transaction::Transaction(DBConnection &connection) noexcept : m_connection(connection)
{
    m_name = QStringLiteral("fenlark_%1").arg(++g_savepointCounter);
    m_active = execScript(m_connection, QStringLiteral("SAVEPOINT ") + m_name);
}

Transaction::~Transaction()
{
    if (m_active) {
        execScript(m_connection, QStringLiteral("ROLLBACK TO ") + m_name);
        execScript(m_connection, QStringLiteral("RELEASE ") + m_name);
    }
}

bool Transaction::commit() noexcept
{
    if (!m_active)
        return false;
    if (!execScript(m_connection, QStringLiteral("RELEASE ") + m_name))
        return false; // still active: the destructor rolls back
    m_active = false;
    return true;
}

bool execScript(DBConnection &connection, const QString &sql) noexcept
{
    if (!connection.isOpen())
        return false;
    const QByteArray utf8 = sql.toUtf8();
    char *message = nullptr;
    const int rc = sqlite3_exec(connection.handle(), utf8.constData(), nullptr, nullptr, &message);
    if (message)
        sqlite3_free(message);
    if (rc != SQLITE_OK) {
        connection.recordError(QStringLiteral("exec"));
        return false;
    }
    return true;
}

} // namespace fenlark
