#include "data/postgres_engine.h"

#include "data/sql_dialect.h"

#include <libpq-fe.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

namespace fenlark {

namespace {

// Type oids of the built-in types (pg_type.dat); fixed for every server.
enum : Oid {
    kBool = 16,
    kBytea = 17,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kNumeric = 1700,
};

bool isIntegerType(Oid type)
{
    return type == kInt8 || type == kInt2 || type == kInt4 || type == kOid;
}

bool isRealType(Oid type)
{
    return type == kFloat4 || type == kFloat8 || type == kNumeric;
}

// A server's type name in the words the record layer takes its column kinds from.
QString registerTypeName(QString type)
{
    // A domain of another schema is named with its schema.
    const qsizetype dot = type.lastIndexOf(u'.');
    if (dot >= 0 && !type.contains(u'"'))
        type = type.mid(dot + 1);
    const QString base = type.section(u'(', 0, 0).trimmed();
    if (base == QLatin1String("bigint") || base == QLatin1String("integer") || base == QLatin1String("smallint"))
        return QStringLiteral("INTEGER");
    if (base == QLatin1String("yesno") || base == QLatin1String("boolean"))
        return QStringLiteral("BOOLEAN");
    if (base == QLatin1String("double precision"))
        return QStringLiteral("DOUBLE");
    if (base == QLatin1String("real"))
        return QStringLiteral("FLOAT4");
    if (base == QLatin1String("datetime") || base.startsWith(QLatin1String("timestamp")) ||
        base == QLatin1String("date"))
        return QStringLiteral("DATETIME");
    if (base == QLatin1String("text"))
        return QStringLiteral("TEXT");
    if (base == QLatin1String("bytea"))
        return QStringLiteral("BLOB");
    return type.toUpper(); // numeric(10,2), character varying(20), money: the kinds know these
}

QString trimmedMessage(const char *message)
{
    return QString::fromUtf8(message ? message : "").trimmed();
}

class PostgresStatement final : public EngineStatement {
public:
    PostgresStatement(PostgresEngine &engine, QByteArray name, PGresult *description)
        : m_engine(engine), m_alive(engine.aliveToken()), m_name(std::move(name)), m_description(description)
    {
        const int count = PQnparams(description);
        m_values.resize(size_t(count));
        m_isSet.assign(size_t(count), false);
        m_formats.assign(size_t(count), 0);
    }

    ~PostgresStatement() override
    {
        PQclear(m_result);
        PQclear(m_description);
        if (*m_alive)
            m_engine.release(m_name);
    }

    bool bind(int index, const FieldValue &value) noexcept override
    {
        if (index < 1 || index > int(m_values.size()))
            return false;
        const size_t at = size_t(index - 1);
        m_formats[at] = 0;
        m_isSet[at] = true;
        switch (value.type) {
        case FieldValue::Type::Null:
            m_isSet[at] = false;
            m_values[at].clear();
            break;
        case FieldValue::Type::Integer:
            m_values[at] = QByteArray::number(value.integer);
            break;
        case FieldValue::Type::Real:
            if (std::isnan(value.real))
                m_values[at] = "NaN";
            else if (std::isinf(value.real))
                m_values[at] = value.real > 0 ? "Infinity" : "-Infinity";
            else
                m_values[at] = QByteArray::number(value.real, 'g', 17);
            break;
        case FieldValue::Type::Text:
            m_values[at] = value.bytes.isNull() ? QByteArray("") : value.bytes;
            break;
        case FieldValue::Type::Blob:
            m_values[at] = value.bytes.isNull() ? QByteArray("") : value.bytes;
            m_formats[at] = 1; // the bytes as they are
            break;
        }
        return true;
    }

    Step step() noexcept override
    {
        if (m_done)
            return Step::Done;
        if (!m_result && !*m_alive)
            return Step::Error;
        if (!m_result) {
            std::vector<const char *> values(m_values.size());
            std::vector<int> lengths(m_values.size());
            for (size_t i = 0; i < m_values.size(); ++i) {
                values[i] = m_isSet[i] ? m_values[i].constData() : nullptr;
                lengths[i] = int(m_values[i].size());
            }
            PGresult *result = PQexecPrepared(m_engine.connection(), m_name.constData(), int(values.size()),
                                              values.data(), lengths.data(), m_formats.data(), 0);
            const ExecStatusType status = PQresultStatus(result);
            m_engine.noteResult(result);
            if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
                PQclear(result);
                return Step::Error;
            }
            m_result = result;
            m_row = 0;
        } else {
            ++m_row;
        }
        if (m_row < PQntuples(m_result))
            return Step::Row;
        m_done = true;
        return Step::Done;
    }

    void reset() noexcept override
    {
        PQclear(m_result);
        m_result = nullptr;
        m_row = -1;
        m_done = false;
        m_isSet.assign(m_isSet.size(), false);
        for (QByteArray &value : m_values)
            value.clear();
    }

    int columnCount() const noexcept override { return PQnfields(m_description); }

    QString columnName(int column) const override
    {
        const char *name = PQfname(m_description, column);
        return name ? QString::fromUtf8(name) : QString();
    }

    QString declaredType(int column) const override
    {
        const Oid table = PQftable(m_description, column);
        const int number = PQftablecol(m_description, column);
        if (table == InvalidOid || number <= 0 || !*m_alive)
            return QString(); // an expression, as SQLite has it
        return m_engine.declaredType(table, number);
    }

    bool isNull(int column) const noexcept override { return !onRow(column) || PQgetisnull(m_result, m_row, column); }

    qint64 int64(int column) const noexcept override
    {
        if (isNull(column))
            return 0;
        const char *text = PQgetvalue(m_result, m_row, column);
        const Oid type = PQftype(m_result, column);
        if (type == kBool)
            return text[0] == 't' ? 1 : 0;
        if (isRealType(type))
            return realToInteger(std::strtod(text, nullptr));
        // As SQLite reads a text as an integer: its leading whole number, 0 when none.
        return std::strtoll(text, nullptr, 10);
    }

    double real(int column) const noexcept override
    {
        if (isNull(column))
            return 0.0;
        const char *text = PQgetvalue(m_result, m_row, column);
        if (PQftype(m_result, column) == kBool)
            return text[0] == 't' ? 1.0 : 0.0;
        return std::strtod(text, nullptr);
    }

    QString text(int column) const override
    {
        const FieldValue field = value(column);
        switch (field.type) {
        case FieldValue::Type::Null:
            return QString();
        case FieldValue::Type::Integer:
            return QString::number(field.integer);
        default:
            return QString::fromUtf8(PQgetvalue(m_result, m_row, column), PQgetlength(m_result, m_row, column));
        }
    }

    FieldValue value(int column) const override
    {
        if (isNull(column))
            return FieldValue::null();
        const char *text = PQgetvalue(m_result, m_row, column);
        const int length = PQgetlength(m_result, m_row, column);
        const Oid type = PQftype(m_result, column);
        if (type == kBool)
            return FieldValue::fromInteger(text[0] == 't' ? 1 : 0);
        if (isIntegerType(type))
            return FieldValue::fromInteger(std::strtoll(text, nullptr, 10));
        // A single reads back as the float it is, as a file keeps it, not as its shortest text.
        if (type == kFloat4)
            return FieldValue::fromReal(double(std::strtof(text, nullptr)));
        if (isRealType(type))
            return FieldValue::fromReal(std::strtod(text, nullptr));
        if (type == kBytea) {
            size_t size = 0;
            unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &size);
            FieldValue blob = FieldValue::fromBlob(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size)));
            PQfreemem(bytes);
            return blob;
        }
        return FieldValue{FieldValue::Type::Text, 0, 0.0, QByteArray(text, length)};
    }

private:
    bool onRow(int column) const noexcept
    {
        return m_result && !m_done && m_row >= 0 && m_row < PQntuples(m_result) && column >= 0 &&
               column < PQnfields(m_result);
    }

    static qint64 realToInteger(double value)
    {
        if (!std::isfinite(value))
            return 0;
        if (value <= -9223372036854775808.0)
            return std::numeric_limits<qint64>::min();
        if (value >= 9223372036854775808.0)
            return std::numeric_limits<qint64>::max();
        return qint64(value);
    }

    PostgresEngine &m_engine;
    std::shared_ptr<const bool> m_alive;
    QByteArray m_name;
    PGresult *m_description;
    PGresult *m_result = nullptr;
    int m_row = -1;
    bool m_done = false;
    std::vector<QByteArray> m_values;
    std::vector<bool> m_isSet;
    std::vector<int> m_formats;
};

} // namespace

std::unique_ptr<PostgresEngine> PostgresEngine::open(const QString &connectionString, QString &failure,
                                                     bool *needsPassword) noexcept
{
    if (needsPassword)
        *needsPassword = false;
    const QByteArray info = connectionString.toUtf8();
    PGconn *conn = PQconnectdb(info.constData());
    if (!conn) {
        failure = QStringLiteral("内存不足");
        return nullptr;
    }
    if (PQstatus(conn) != CONNECTION_OK) {
        failure = trimmedMessage(PQerrorMessage(conn));
        if (needsPassword)
            *needsPassword = PQconnectionNeedsPassword(conn) == 1;
        PQfinish(conn);
        return nullptr;
    }
    // Notices (a savepoint already gone, an index already there) are no news to the clerk.
    PQsetNoticeProcessor(
        conn, [](void *, const char *) {}, nullptr);
    std::unique_ptr<PostgresEngine> engine(new PostgresEngine(conn));
    // Texts in UTF-8, date-times in the register's "YYYY-MM-DD HH:MM:SS", and reals in their
    // shortest exact form, whatever the server's own defaults are.
    if (PQsetClientEncoding(conn, "UTF8") != 0 ||
        !engine->run("SET DateStyle = 'ISO, YMD'; SET extra_float_digits = 1; SET standard_conforming_strings = on")) {
        failure = engine->m_error.message;
        return nullptr;
    }
    return engine;
}

PostgresEngine::~PostgresEngine()
{
    *m_alive = false;
    PQfinish(m_conn);
}

void PostgresEngine::noteResult(const PGresult *result) noexcept
{
    const ExecStatusType status = PQresultStatus(result);
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) {
        const char *touched = PQcmdTuples(const_cast<PGresult *>(result));
        if (touched && *touched)
            m_changes = std::strtoll(touched, nullptr, 10);
        return;
    }
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    m_error.message = trimmedMessage(result ? PQresultErrorMessage(result) : PQerrorMessage(m_conn));
    if (m_error.message.isEmpty())
        m_error.message = trimmedMessage(PQerrorMessage(m_conn));
    m_error.state = QString::fromLatin1(state ? state : "");
    m_error.native = 0;
    // A lost server is to a register what a failing disk is to a file: what was read may be
    // cut short. Class 08 is a connection failure; 57P0x the server shutting down.
    m_error.damage = PQstatus(m_conn) == CONNECTION_BAD || m_error.state.startsWith(QLatin1String("08")) ||
                     m_error.state.startsWith(QLatin1String("57P0"));
}

bool PostgresEngine::run(const QByteArray &sql) noexcept
{
    PGresult *result = PQexec(m_conn, sql.constData());
    const ExecStatusType status = PQresultStatus(result);
    noteResult(result);
    PQclear(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

std::unique_ptr<EngineStatement> PostgresEngine::prepare(const QString &sql) noexcept
{
    const postgres::RewrittenSql rewritten = postgres::rewriteForPostgres(sql);
    const QByteArray text = rewritten.sql.toUtf8();
    const QByteArray name = "fenlark_" + QByteArray::number(++m_statementCounter);
    // A parameter the SQL leaves out gets the type text (its value, if any is bound, goes
    // unused); the others the server infers from where they stand.
    std::vector<Oid> types;
    if (!rewritten.unusedParameters.isEmpty()) {
        constexpr Oid kTextOid = 25;
        types.assign(size_t(rewritten.parameterCount), Oid(0));
        for (const int number : rewritten.unusedParameters)
            types[size_t(number - 1)] = kTextOid;
    }
    PGresult *prepared = PQprepare(m_conn, name.constData(), text.constData(), int(types.size()),
                                   types.empty() ? nullptr : types.data());
    const bool ok = PQresultStatus(prepared) == PGRES_COMMAND_OK;
    noteResult(prepared);
    PQclear(prepared);
    if (!ok)
        return nullptr;
    PGresult *description = PQdescribePrepared(m_conn, name.constData());
    if (PQresultStatus(description) != PGRES_COMMAND_OK) {
        noteResult(description);
        PQclear(description);
        release(name);
        return nullptr;
    }
    return std::make_unique<PostgresStatement>(*this, name, description);
}

void PostgresEngine::release(const QByteArray &statementName) noexcept
{
    // In a transaction spoilt by an error every command is refused until it ends: the
    // statement is dropped after the rollback instead.
    if (PQtransactionStatus(m_conn) == PQTRANS_INERROR) {
        m_unreleased.append(statementName);
        return;
    }
    const QByteArray sql = "DEALLOCATE " + statementName;
    PGresult *result = PQexec(m_conn, sql.constData());
    PQclear(result);
}

void PostgresEngine::releasePending() noexcept
{
    const QList<QByteArray> names = std::exchange(m_unreleased, {});
    for (const QByteArray &name : names)
        release(name);
}

bool PostgresEngine::exec(const QString &sql) noexcept
{
    return run(postgres::rewriteForPostgres(sql).sql.toUtf8());
}

bool PostgresEngine::begin(const QString &savepoint, bool outermost) noexcept
{
    return run(outermost ? QByteArray("BEGIN") : "SAVEPOINT " + savepoint.toUtf8());
}

bool PostgresEngine::commit(const QString &savepoint, bool outermost) noexcept
{
    if (!outermost)
        return run("RELEASE SAVEPOINT " + savepoint.toUtf8());
    PGresult *result = PQexec(m_conn, "COMMIT");
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    noteResult(result);
    // COMMIT of a transaction an error spoilt answers ROLLBACK: nothing was kept.
    const bool kept = ok && qstrcmp(PQcmdStatus(result), "COMMIT") == 0;
    PQclear(result);
    if (ok && !kept) {
        m_error = {QStringLiteral("事务因先前的错误已回滚"), QStringLiteral("25P02"), 0, false};
    }
    if (ok)
        releasePending();
    return kept;
}

void PostgresEngine::rollback(const QString &savepoint, bool outermost) noexcept
{
    if (outermost) {
        run("ROLLBACK");
    } else {
        const QByteArray name = savepoint.toUtf8();
        run("ROLLBACK TO SAVEPOINT " + name);
        run("RELEASE SAVEPOINT " + name);
    }
    if (PQtransactionStatus(m_conn) != PQTRANS_INERROR)
        releasePending();
}

QString PostgresEngine::declaredType(unsigned table, int column)
{
    auto known = m_declaredTypes.find(table);
    if (known == m_declaredTypes.end() || !known->contains(column)) {
        if (PQtransactionStatus(m_conn) == PQTRANS_INERROR)
            return QString();
        const QByteArray oid = QByteArray::number(table);
        const char *values[] = {oid.constData()};
        PGresult *result = PQexecParams(m_conn,
                                        "SELECT attnum, format_type(atttypid, atttypmod) FROM pg_attribute "
                                        "WHERE attrelid = $1::oid AND attnum > 0 AND NOT attisdropped",
                                        1, nullptr, values, nullptr, nullptr, 0);
        if (PQresultStatus(result) != PGRES_TUPLES_OK) {
            PQclear(result);
            return QString();
        }
        QHash<int, QString> columns;
        for (int row = 0; row < PQntuples(result); ++row)
            columns.insert(std::atoi(PQgetvalue(result, row, 0)),
                           registerTypeName(QString::fromUtf8(PQgetvalue(result, row, 1))));
        PQclear(result);
        known = m_declaredTypes.insert(table, columns);
    }
    return known->value(column);
}

} // namespace fenlark
