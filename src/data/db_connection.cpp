#include "data/db_connection.h"

#include "data/keyword_catalogue.h"
#include "data/member_card_index.h"
#include "data/postgres_engine.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/sqlite_engine.h"
#include "data/statement.h"
#include "data/statistics_index.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace fenlark {

DBConnection::~DBConnection()
{
    close();
    // A set may outlive its connection (window members are destroyed in any order): it must
    // not reach back into a connection that is gone.
    const std::vector<RecordSet *> sets = m_sets;
    for (RecordSet *set : sets)
        set->detach();
}

bool DBConnection::connectAccess(const QString &path, const QString &password) noexcept
{
    m_connectionText = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + path;
    if (!password.isEmpty())
        m_connectionText += QStringLiteral(";Jet OLEDB:Database Password=") + password + u';';
    close();
    m_openFailure.clear();

    const QFileInfo info(path);
    if (!info.exists()) {
        m_openFailure = QStringLiteral("文件不存在");
        return false;
    }
    if (!info.isFile() || !info.isReadable()) {
        m_openFailure = QStringLiteral("文件无法读取");
        return false;
    }

    m_engine = SqliteEngine::open(path, m_openFailure);
    if (!m_engine)
        return false;
    m_damageTold = false;

    // Opening is lazy in SQLite: read the schema now, so a file that is not a database, or is
    // damaged, fails here instead of turning every later save into a silent failure.
    {
        Statement probe(*this, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        if (!probe.isValid() || !probe.step()) {
            m_openFailure = m_engine->lastError().message;
            close();
            return false;
        }
    }
    // A file made before the indexes existed gets them now; a read-only file simply goes without.
    buildMissingIndexes();
    dropRetiredIndexes();
    // Likewise the member-card index; a file without households yet gets it when they come.
    registerMemberIndexFunctions(*this);
    ensureMemberCardIndex(*this);
    // And the keyword catalogue, made once and from then on kept by the file's own triggers.
    ensureKeywordCatalogue(*this);
    m_errors.clear();
    return true;
}

bool DBConnection::connectServer(const QString &connectionString) noexcept
{
    m_connectionText = connectionString;
    close();
    m_openFailure.clear();
    m_engine = PostgresEngine::open(connectionString, m_openFailure, &m_needsPassword);
    if (!m_engine)
        return false;
    m_damageTold = false;
    m_errors.clear();
    return true;
}

bool DBConnection::isServer() const noexcept
{
    return m_engine && m_engine->kind() == Engine::Kind::Postgres;
}

sqlite3 *DBConnection::handle() const noexcept
{
    return m_engine ? m_engine->sqliteHandle() : nullptr;
}

QString DBConnection::filePath() const
{
    sqlite3 *db = handle();
    const char *name = db ? sqlite3_db_filename(db, "main") : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

bool DBConnection::isReadOnly() const noexcept
{
    sqlite3 *db = handle();
    return db && sqlite3_db_readonly(db, "main") == 1;
}

void DBConnection::buildMissingIndexes() noexcept
{
    // Only the statements of indexes that are not there yet, or are there under their name with
    // another definition (made by an earlier build: the queries would go on paying for the old
    // shape), so the progress counts real work. The store keeps a definition as it was written,
    // without its IF NOT EXISTS; blanks are compared loosely.
    static const QRegularExpression indexName(QStringLiteral("CREATE INDEX IF NOT EXISTS \"([^\"]+)\""));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const auto loosely = [](QString sql) { return sql.replace(blanks, QStringLiteral(" ")).trimmed(); };
    QStringList missing;
    for (const QString &statement : schema::createIndexesSql().split(u';', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = indexName.match(statement);
        if (!match.hasMatch())
            continue;
        Statement stored(*this, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?1"));
        stored.bind(1, match.captured(1));
        if (!stored.step()) {
            missing.append(statement.trimmed());
            continue;
        }
        QString wanted = statement;
        wanted.replace(QStringLiteral("CREATE INDEX IF NOT EXISTS "), QStringLiteral("CREATE INDEX "));
        if (loosely(stored.text(0)) != loosely(wanted))
            missing.append(QStringLiteral("DROP INDEX IF EXISTS %1; %2")
                               .arg(quoteIdentifier(match.captured(1)), statement.trimmed()));
    }
    if (missing.isEmpty() || isReadOnly())
        return;
    const int total = int(missing.size());
    int built = 0;
    reportIndexBuild(0, total, indexStepText());
    watchIndexBuild(true);
    for (const QString &statement : missing) {
        // The drop and the build together: an interruption leaves the old index, never none.
        Transaction transaction(*this);
        if (execScript(*this, statement))
            transaction.commit();
        reportIndexBuild(++built, total, indexStepText());
    }
    watchIndexBuild(false);
}

void DBConnection::reportIndexBuild(int built, int total, const QString &step)
{
    m_indexBuild = {built, total, step};
    if (m_indexProgress)
        m_indexProgress(built, total, step);
}

void DBConnection::watchIndexBuild(bool on) noexcept
{
    sqlite3 *db = handle();
    if (!db)
        return;
    if (!on || !m_indexProgress) {
        sqlite3_progress_handler(db, 0, nullptr, nullptr);
        return;
    }
    sqlite3_progress_handler(
        db, 200000,
        [](void *arg) {
            const DBConnection *self = static_cast<const DBConnection *>(arg);
            if (self->m_indexProgress)
                self->m_indexProgress(self->m_indexBuild.built, self->m_indexBuild.total, self->m_indexBuild.step);
            return 0;
        },
        this);
}

void DBConnection::dropRetiredIndexes() noexcept
{
    // Only once its successor is there, so a file that could not build it still counts as before.
    if (isReadOnly())
        return;
    if (!indexExists(*this, statisticsIndex::name))
        return;
    execScript(*this, QStringLiteral("DROP INDEX IF EXISTS \"%1\";").arg(statisticsIndex::retiredName));
}

void DBConnection::close() noexcept
{
    // Open sets hold prepared statements and rowids of this store: they close with it.
    for (RecordSet *set : std::vector<RecordSet *>(m_sets))
        set->close();
    m_engine.reset();
    m_transactionDepth = 0;
    m_memberIndexReady = false;
}

void DBConnection::recordError(const QString &source) noexcept
{
    const Engine::Error error = m_engine
                                    ? m_engine->lastError()
                                    : Engine::Error{QStringLiteral("not connected"), QStringLiteral("0"), 0, false};
    m_errors += QStringLiteral("Description: %1\r\nState: %2, Native: %3, Source: %4\r\n")
                    .arg(error.message, error.state, QString::number(error.native), source);
    if (error.damage && m_damageHandler && !m_damageTold) {
        m_damageTold = true;
        m_damageHandler(error.message);
    }
}

bool DBConnection::beginTransaction(const QString &name) noexcept
{
    if (!m_engine)
        return false;
    if (!m_engine->begin(name, m_transactionDepth == 0)) {
        recordError(QStringLiteral("exec"));
        return false;
    }
    ++m_transactionDepth;
    return true;
}

bool DBConnection::commitTransaction(const QString &name) noexcept
{
    if (!m_engine)
        return false;
    if (!m_engine->commit(name, m_transactionDepth == 1)) {
        recordError(QStringLiteral("exec"));
        return false;
    }
    --m_transactionDepth;
    return true;
}

void DBConnection::rollbackTransaction(const QString &name) noexcept
{
    if (!m_engine || m_transactionDepth <= 0)
        return;
    m_engine->rollback(name, m_transactionDepth == 1);
    --m_transactionDepth;
}

void DBConnection::registerRecordSet(RecordSet *set)
{
    if (std::find(m_sets.begin(), m_sets.end(), set) == m_sets.end())
        m_sets.push_back(set);
}

void DBConnection::unregisterRecordSet(RecordSet *set)
{
    m_sets.erase(std::remove(m_sets.begin(), m_sets.end(), set), m_sets.end());
}

void DBConnection::rowWillChange(const QString &table, qint64 rowid, const RecordSet *writer) noexcept
{
    for (RecordSet *set : m_sets) {
        if (set != writer)
            set->preserveRow(table, rowid);
    }
}

} // namespace fenlark
