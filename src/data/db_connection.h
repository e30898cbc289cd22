#pragma once

#include "data/engine.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

struct sqlite3;

namespace fenlark {

class RecordSet;

// The one connection of the program to its register: the SQLite file of an office, or a
// county's PostgreSQL server (data/engine.h). Small noexcept operations that report success
// as bool; the store's errors are kept as text, never thrown.
class DBConnection {
public:
    DBConnection() = default;
    ~DBConnection();
    DBConnection(const DBConnection &) = delete;
    DBConnection &operator=(const DBConnection &) = delete;

    // Told while connectAccess builds what the file lacks: the indexes of an old or foreign file
    // (seconds on a large register), then the member-card index (about a minute at 1,000,000
    // households). Each step names its work for the clerk and reports first (0, total), then now
    // and then during the work so a window can stay alive, and (total, total) at its end. Not
    // called when everything is there. The member-card index's rebuild reports the same way.
    using IndexBuildProgress = std::function<void(int built, int total, const QString &step)>;
    void setIndexBuildProgress(IndexBuildProgress progress) { m_indexProgress = std::move(progress); }
    // The step the index builds report under while building the plain indexes.
    static QString indexStepText() { return QStringLiteral("正在为数据库建立索引,请稍候……"); }

    // For the builders of an index: tells the progress (when one is set) and remembers it, so
    // that while watchIndexBuild is on, a long statement tells it again every so often.
    void reportIndexBuild(int built, int total, const QString &step);
    void watchIndexBuild(bool on) noexcept;

    // Opens the SQLite register at path (never creates it). The connection text is built as
    // the Access provider's was, so anything that showed it still reads the same.
    bool connectAccess(const QString &path, const QString &password) noexcept;
    // Opens a register on a PostgreSQL server: a libpq connection string (a password, if the
    // server wants one, comes from ~/.pgpass). The tables must be there (fenlark-db
    // server-init makes them).
    bool connectServer(const QString &connectionString) noexcept;
    void close() noexcept;
    bool isOpen() const noexcept { return m_engine != nullptr; }
    // True when the open register lives on a server rather than in a file.
    bool isServer() const noexcept;

    QString connectionText() const { return m_connectionText; }
    // One block per error: "Description: %s\r\nState: %s, Native: %d, Source: %s\r\n".
    QString errorText() const { return m_errors; }
    // Why the last connectAccess failed, in words for the user (empty after a success).
    QString openFailureReason() const { return m_openFailure; }
    // True when the last connectServer failed because the server wants a password none gave.
    bool openFailureNeedsPassword() const noexcept { return m_needsPassword; }

    // The engine behind the connection (null when closed); Statement and Transaction use it.
    Engine *engine() const noexcept { return m_engine.get(); }
    // SQLite's own handle for the tools that work on register files alone; null on a server.
    sqlite3 *handle() const noexcept;
    // The absolute path of the open register file ("" when closed): backups and checks work on
    // the file actually opened, wherever it lives.
    QString filePath() const;
    // True when the file could only be opened for reading (saves would fail).
    bool isReadOnly() const noexcept;

    // Told once per open, the first time a read or write meets a damaged file or a failing disk
    // (SQLite's CORRUPT, IOERR, NOTADB), so a list cut short by damage is never taken for the
    // end of the list. reason is the store's words.
    using DamageHandler = std::function<void(const QString &reason)>;
    void setDamageHandler(DamageHandler handler) { m_damageHandler = std::move(handler); }

    // Records the store's current error (after a failed call on the engine).
    void recordError(const QString &source) noexcept;

    // The units of work of Transaction: the outermost begins the engine's transaction, inner
    // ones are savepoints within it. False (and the error recorded) when the engine refuses.
    bool beginTransaction(const QString &name) noexcept;
    bool commitTransaction(const QString &name) noexcept;
    void rollbackTransaction(const QString &name) noexcept;

    // Record sets register so that a write through one of them can let the others keep the
    // row as it was when they opened (a static cursor sees only its own changes).
    void registerRecordSet(RecordSet *set);
    void unregisterRecordSet(RecordSet *set);
    // Called before a row of table changes or goes; every other open set holding it keeps
    // its current values. rowid < 0 means every row of the table.
    void rowWillChange(const QString &table, qint64 rowid, const RecordSet *writer) noexcept;

    // Whether this connection keeps the member-card index (data/member_card_index.h).
    bool memberIndexReady() const noexcept { return m_memberIndexReady; }
    void setMemberIndexReady(bool ready) noexcept { m_memberIndexReady = ready; }

private:
    std::unique_ptr<Engine> m_engine;
    int m_transactionDepth = 0;
    QString m_connectionText;
    QString m_errors;
    QString m_openFailure;
    bool m_needsPassword = false;
    std::vector<RecordSet *> m_sets;
    IndexBuildProgress m_indexProgress;
    struct IndexBuildState {
        int built = 0;
        int total = 0;
        QString step;
    } m_indexBuild;
    DamageHandler m_damageHandler;
    bool m_damageTold = false;

    void buildMissingIndexes() noexcept;
    void dropRetiredIndexes() noexcept;
    bool m_memberIndexReady = false;
};

} // namespace fenlark
