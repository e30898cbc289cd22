#include "maintenance/register_copy.h"

#include "data/safe_file.h"
#include "data/schema.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace fenlark::maintenance {

namespace {

// Pages copied per step: small enough that a save of the program waits only a moment for the
// copy's read lock between steps.
constexpr int kPagesPerStep = 256;
// SQLite virtual-machine steps between two progress estimates of a check.
constexpr int kStepsPerTick = 10000;

struct Db {
    sqlite3 *handle = nullptr;
    ~Db() { sqlite3_close_v2(handle); }
    QString error() const { return QString::fromUtf8(handle ? sqlite3_errmsg(handle) : "out of memory"); }
};

bool openDb(Db &db, const QString &path, int flags, QString &error)
{
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &db.handle, flags, nullptr) != SQLITE_OK) {
        error = db.error();
        return false;
    }
    sqlite3_extended_result_codes(db.handle, 1);
    sqlite3_busy_timeout(db.handle, 5000);
    return true;
}

bool backupInto(const QString &source, const QString &target, QString &error)
{
    Db from;
    Db to;
    if (!QFileInfo(source).isFile()) {
        error = QStringLiteral("%1 不存在").arg(QDir::toNativeSeparators(source));
        return false;
    }
    if (!openDb(from, source, SQLITE_OPEN_READONLY, error))
        return false;
    if (!openDb(to, target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error))
        return false;
    // Each step commits on the copy; the copy is a temporary file that is checked and synced
    // once at the end, so it needs no journal and no wait for the disk at every step.
    sqlite3_exec(to.handle, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr, nullptr);
    sqlite3_backup *backup = sqlite3_backup_init(to.handle, "main", from.handle, "main");
    if (!backup) {
        error = to.error();
        return false;
    }
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(50);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        error = QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    return true;
}

} // namespace

bool copyRegister(const QString &source, const QString &destination, bool replace, QString &error)
{
    error.clear();
    const QString temporary = unusedNameBeside(destination);
    if (temporary.isEmpty()) {
        error = QStringLiteral("找不到可用的临时文件名: %1").arg(QDir::toNativeSeparators(destination));
        return false;
    }
    bool ok = backupInto(source, temporary, error);
    if (ok) {
        const QStringList problems = integrityProblems(temporary, CheckDepth::Full);
        if (!problems.isEmpty()) {
            error = QStringLiteral("副本未通过完整性检查: %1").arg(problems.first());
            ok = false;
        }
    }
    if (ok)
        ok = moveIntoPlace(temporary, destination, replace, error);
    if (!ok) {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
    }
    return ok;
}

QStringList integrityProblems(const QString &path, CheckDepth depth, bool *unreadable,
                              const std::function<void(double done)> &progress)
{
    if (unreadable)
        *unreadable = false;
    const auto cannotRead = [&](const QString &why) {
        if (unreadable)
            *unreadable = true;
        return QStringList{QStringLiteral("无法读取: %1").arg(why)};
    };
    const QFileInfo info(path);
    if (!info.isFile())
        return cannotRead(QStringLiteral("文件不存在"));
    if (info.size() == 0)
        return cannotRead(QStringLiteral("文件是空的(0 字节)"));
    Db db;
    QString error;
    if (!openDb(db, path, SQLITE_OPEN_READONLY, error))
        return cannotRead(error);
    // SQLite tells no share done; its steps grow with the pages, at about these rates per page
    // on registers like ours (measured), which is near enough for a progress bar.
    struct Estimate {
        const std::function<void(double)> *progress;
        double expected;
        qint64 ticks = 0;
    } estimate{&progress, 1.0};
    if (progress) {
        sqlite3_stmt *count = nullptr;
        if (sqlite3_prepare_v2(db.handle, "PRAGMA page_count", -1, &count, nullptr) == SQLITE_OK &&
            sqlite3_step(count) == SQLITE_ROW)
            estimate.expected =
                std::max(1.0, double(sqlite3_column_int64(count, 0)) * (depth == CheckDepth::Quick ? 0.0225 : 0.036));
        sqlite3_finalize(count);
        sqlite3_progress_handler(
            db.handle, kStepsPerTick,
            [](void *arg) {
                auto *e = static_cast<Estimate *>(arg);
                (*e->progress)(std::min(0.99, double(++e->ticks) / e->expected));
                return 0;
            },
            &estimate);
    }
    sqlite3_stmt *stmt = nullptr;
    const char *sql = depth == CheckDepth::Quick ? "PRAGMA quick_check(100)" : "PRAGMA integrity_check(100)";
    if (sqlite3_prepare_v2(db.handle, sql, -1, &stmt, nullptr) != SQLITE_OK)
        return cannotRead(db.error());
    QStringList problems;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const QString line = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        if (line != QStringLiteral("ok"))
            problems.append(line);
    }
    if (rc != SQLITE_DONE) {
        const QString why = db.error();
        sqlite3_finalize(stmt);
        // A file that is not a database at all cannot be checked: say so, not "damaged".
        if (sqlite3_errcode(db.handle) == SQLITE_NOTADB)
            return cannotRead(why);
        problems.append(why);
        return problems;
    }
    sqlite3_finalize(stmt);
    return problems;
}

qint64 householdCount(const QString &path)
{
    Db db;
    QString error;
    if (!openDb(db, path, SQLITE_OPEN_READONLY, error))
        return -1;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = QStringLiteral("SELECT count(*) FROM \"%1\"").arg(schema::households::table).toUtf8();
    if (sqlite3_prepare_v2(db.handle, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return -1;
    const qint64 count = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    return count;
}

} // namespace fenlark::maintenance
