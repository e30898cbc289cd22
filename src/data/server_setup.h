#pragma once

#include <QString>
#include <QStringList>

namespace fenlark {

class DBConnection;

// The roles of a county register on a PostgreSQL server. Group roles without login: the
// server's administrator grants them to the clerks' own login roles.
namespace serverRoles {
// Reads and writes everything.
inline const QString county = QStringLiteral("fenlark_county");
// The role of the township whose 区域管理 key is key: reads the whole tree, adds, changes and
// deletes only households and units under its own township.
QString township(qint64 key);
// The table naming each township role's township.
inline const QString table = QStringLiteral("乡镇角色");
} // namespace serverRoles

struct ServerInitReport {
    bool tablesMade = false; // false: the register's tables were there already
    QStringList townships;   // every township with its role, in 区域管理 order
};

// Makes a server register ready for a county: its tables (unless there), the county role, a
// role for each township of 区域管理 with row-level security that keeps its writes under its
// own township (checked by the server itself, so no program can get round it), and the grants.
// Safe to run again: a township added since gets its role, a register made by an earlier
// version what this one's queries need of it. One transaction; false and the
// server's words in error when anything fails, and then nothing is changed.
bool initServerRegister(DBConnection &connection, ServerInitReport &report, QString &error);

} // namespace fenlark
