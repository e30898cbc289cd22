#include "data/statement.h"

#include "data/db_connection.h"
#include "data/engine.h"

#include <atomic>
#include <utility>

namespace fenlark {

Statement::Statement(DBConnection &connection, const QString &sql) noexcept : m_connection(&connection)
{
    if (!connection.isOpen()) {
        m_failed = true;
        return;
    }
    m_stmt = connection.engine()->prepare(sql);
    if (!m_stmt && !sql.trimmed().isEmpty()) {
        connection.recordError(QStringLiteral("prepare"));
        m_failed = true;
    }
}

Statement::Statement(Statement &&other) noexcept
    : m_connection(other.m_connection), m_stmt(std::move(other.m_stmt)), m_failed(other.m_failed),
      m_bindFailed(other.m_bindFailed)
{
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        m_connection = other.m_connection;
        m_stmt = std::move(other.m_stmt);
        m_failed = other.m_failed;
        m_bindFailed = other.m_bindFailed;
    }
    return *this;
}

Statement::~Statement() = default;

Statement &Statement::bind(int index, qint64 value) noexcept
{
    if (!m_stmt || !m_stmt->bind(index, FieldValue::fromInteger(value)))
        m_bindFailed = true;
    return *this;
}

Statement &Statement::bind(int index, double value) noexcept
{
    if (!m_stmt || !m_stmt->bind(index, FieldValue::fromReal(value)))
        m_bindFailed = true;
    return *this;
}

Statement &Statement::bind(int index, const QString &value) noexcept
{
    // Always a text, also for a null QString: an empty field is stored as "", never NULL.
    if (!m_stmt || !m_stmt->bind(index, FieldValue{FieldValue::Type::Text, 0, 0.0, value.toUtf8()}))
        m_bindFailed = true;
    return *this;
}

Statement &Statement::bindNull(int index) noexcept
{
    if (!m_stmt || !m_stmt->bind(index, FieldValue::null()))
        m_bindFailed = true;
    return *this;
}

Statement &Statement::bind(int index, const FieldValue &value) noexcept
{
    if (!m_stmt) {
        m_bindFailed = true;
        return *this;
    }
    if (!m_stmt->bind(index, value)) {
        m_connection->recordError(QStringLiteral("bind"));
        m_bindFailed = true;
    }
    return *this;
}

bool Statement::step() noexcept
{
    if (!m_stmt || m_bindFailed) {
        m_failed = true;
        return false;
    }
    const EngineStatement::Step result = m_stmt->step();
    if (result == EngineStatement::Step::Row)
        return true;
    if (result == EngineStatement::Step::Error) {
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
    m_stmt->reset();
    m_failed = false;
    m_bindFailed = false;
}

int Statement::columnCount() const noexcept
{
    return m_stmt ? m_stmt->columnCount() : 0;
}

bool Statement::isNull(int column) const noexcept
{
    return !m_stmt || m_stmt->isNull(column);
}

qint64 Statement::int64(int column) const noexcept
{
    return m_stmt ? m_stmt->int64(column) : 0;
}

double Statement::real(int column) const noexcept
{
    return m_stmt ? m_stmt->real(column) : 0.0;
}

QString Statement::text(int column) const
{
    return m_stmt ? m_stmt->text(column) : QString();
}

QString Statement::columnName(int column) const
{
    return m_stmt ? m_stmt->columnName(column) : QString();
}

QString Statement::declaredType(int column) const
{
    return m_stmt ? m_stmt->declaredType(column) : QString();
}

FieldValue Statement::value(int column) const
{
    return m_stmt ? m_stmt->value(column) : FieldValue::null();
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
    m_active = m_connection.beginTransaction(m_name);
}

Transaction::~Transaction()
{
    if (m_active)
        m_connection.rollbackTransaction(m_name);
}

bool Transaction::commit() noexcept
{
    if (!m_active)
        return false;
    if (!m_connection.commitTransaction(m_name))
        return false; // still active: the destructor rolls back
    m_active = false;
    return true;
}

bool execScript(DBConnection &connection, const QString &sql) noexcept
{
    if (!connection.isOpen())
        return false;
    if (!connection.engine()->exec(sql)) {
        connection.recordError(QStringLiteral("exec"));
        return false;
    }
    return true;
}

bool indexExists(DBConnection &connection, const QString &name)
{
    if (connection.isServer())
        return false;
    Statement probe(connection, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?1"));
    probe.bind(1, name);
    return probe.step();
}

} // namespace fenlark
