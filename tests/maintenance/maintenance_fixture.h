#pragma once

#include "data/db_connection.h"
#include "data/statement.h"
#include "fenlark-db/register_maker.h"

#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

// A demo register in a fresh folder, with the raw helpers the maintenance tests plant
// changes and damage with.
struct DemoRegister {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data.mdb"));
    QString error;

    explicit DemoRegister(int households = 60)
    {
        if (!fenlark::dbtool::makeDemoRegister(path, households, error))
            path.clear();
    }

    bool exec(const QString &sql) const
    {
        fenlark::DBConnection db;
        return db.connectAccess(path, QString()) && fenlark::execScript(db, sql);
    }

    qint64 count(const QString &sql) const
    {
        fenlark::DBConnection db;
        if (!db.connectAccess(path, QString()))
            return -1;
        fenlark::Statement query(db, sql);
        return query.step() ? query.int64(0) : -1;
    }
};

// Overwrites one page in the middle of the file with garbage, as a bad sector or a torn copy
// would: SQLite's checks must report it.
inline bool damageMiddlePage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray header = file.read(100);
    if (header.size() < 100)
        return false;
    int pageSize = (quint8(header[16]) << 8) | quint8(header[17]);
    if (pageSize == 1)
        pageSize = 65536;
    const qint64 pages = file.size() / pageSize;
    if (pages < 4)
        return false;
    file.seek((pages / 2) * pageSize);
    QByteArray garbage(pageSize, '\0');
    for (int i = 0; i < pageSize; ++i)
        garbage[i] = char((i * 7919 + 13) & 0xff);
    return file.write(garbage) == pageSize;
}

// Overwrites the last leaf page of the household table itself: it holds the newest households,
// which the first page of their villages' lists shows, so a list is sure to read it (a page in
// the middle of the file may belong to an index or to the member-card tables, which no list reads).
inline bool damageHouseholdPage(const QString &path)
{
    qint64 page = 0;
    int pageSize = 0;
    {
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return false;
        }
        sqlite3_stmt *stmt = nullptr;
        const char *sql = "SELECT pageno, pgsize FROM dbstat WHERE name = '成员信息' AND pagetype = 'leaf' "
                          "ORDER BY path DESC LIMIT 1";
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
            page = sqlite3_column_int64(stmt, 0);
            pageSize = sqlite3_column_int(stmt, 1);
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
    if (page <= 1 || pageSize <= 0)
        return damageMiddlePage(path); // no page statistics in this SQLite: the old way
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek((page - 1) * pageSize))
        return false;
    QByteArray garbage(pageSize, '\0');
    for (int i = 0; i < pageSize; ++i)
        garbage[i] = char((i * 7919 + 13) & 0xff);
    return file.write(garbage) == pageSize;
}
