#pragma once

#include "core/register_location.h"

#include <QByteArray>
#include <QString>

// fenlark-server.conf: the county server an office works on instead of a data.mdb file. It holds
// one libpq connection string (lines are joined; lines starting with '#' are notes). It never
// holds a password: a file beside the program is read by anyone who can read the program, so
// the password comes from the clerk's ~/.pgpass or is asked for at start-up.
namespace fenlark {

struct ServerConf {
    QString connectionString; // as written, without notes
    QString error;            // why the file cannot be used, in words for the clerk; empty when it can
    bool ok() const { return error.isEmpty(); }
};

// Reads and checks a conf's content: refused when empty, when libpq cannot read it, or when it
// names a password (password=, or one inside a postgresql:// address).
ServerConf parseServerConf(const QByteArray &content);
ServerConf readServerConf(const QString &path);

// The server as the clerk may be shown it: "host=… port=… dbname=…" (never the password; a
// value not given shows as 默认).
QString describeServer(const QString &connectionString);

// A connection string from the first start's fields, each value quoted as libpq wants; empty
// fields are left out (libpq's defaults apply).
QString serverConnectionString(const QString &host, const QString &port, const QString &database, const QString &user);

// The connection string with a password the clerk typed, for this one connection only.
QString withPassword(const QString &connectionString, const QString &password);

class DBConnection;

// True when the open register has its three tables (a server that server-init has prepared).
bool hasRegisterTables(DBConnection &connection);

// Writes the conf at path (temporary file, synced, renamed); refuses a path where a file is.
bool writeServerConf(const QString &path, const QString &connectionString, QString &error);

} // namespace fenlark
