#include "data/value_query.h"

#include "data/db_connection.h"

#include <sqlite3.h>

#include <utility>

namespace fenlark {

ValueQuery::ValueQuery(DBConnection &connection, const QString &sql) noexcept : m_connection(&connection)
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

ValueQuery::~ValueQuery()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

ValueQuery::ValueQuery(ValueQuery &&other) noexcept
    : m_connection(other.m_connection), m_stmt(std::exchange(other.m_stmt, nullptr)), m_failed(other.m_failed)
{
}

ValueQuery &ValueQuery::operator=(ValueQuery &&other) noexcept
{
    if (this != &other) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_connection = other.m_connection;
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_failed = other.m_failed;
    }
    return *this;
}

bool ValueQuery::bind(int index, const FieldValue &value) noexcept
{
    if (!m_stmt) {
        m_failed = true;
        return false;
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
        m_failed = true;
        return false;
    }
    return true;
}

bool ValueQuery::next() noexcept
{
    if (!m_stmt || m_failed) {
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

bool ValueQuery::finish() noexcept
{
    while (next()) {
    }
    return !m_failed;
}

void ValueQuery::reset() noexcept
{
    if (!m_stmt)
        return;
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    m_failed = false;
}

int ValueQuery::columnCount() const noexcept
{
    return m_stmt ? sqlite3_column_count(m_stmt) : 0;
}

QString ValueQuery::columnName(int column) const
{
    const char *name = m_stmt ? sqlite3_column_name(m_stmt, column) : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

QString ValueQuery::declaredType(int column) const
{
    const char *type = m_stmt ? sqlite3_column_decltype(m_stmt, column) : nullptr;
    return type ? QString::fromUtf8(type) : QString();
}

FieldValue ValueQuery::value(int column) const
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

qint64 ValueQuery::integer(int column) const noexcept
{
    return m_stmt ? sqlite3_column_int64(m_stmt, column) : 0;
}

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace fenlark
