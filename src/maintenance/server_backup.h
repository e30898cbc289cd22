#pragma once

#include <QDateTime>
#include <QString>

namespace fenlark::maintenance {

// Whether a register argument names a server (a libpq connection string or URI) rather than
// a file.
bool isServerConnection(const QString &text);

// Backs up a server register with pg_dump (custom format) into dest, or, when dest is a
// folder, into a file there named by the time. Written beside the target under a temporary
// name and renamed into place once pg_restore can read its table of contents, so a failed
// dump never leaves a file that looks like a backup. made is the file written.
bool backupServer(const QString &connection, const QString &dest, const QDateTime &at, QString &made, QString &error);

} // namespace fenlark::maintenance
