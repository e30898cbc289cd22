#pragma once

#include <QString>

namespace fenlark::schema {

// The row version of a household on a server register, raised by one with every change the
// record layer stores (data/record_set.h): many clerks save at once there, and a change made on
// an old version is refused instead of overwriting theirs.
inline const QString versionColumn = QStringLiteral("版本");

// The register's three tables on a PostgreSQL server, made from the file's own definition so
// the names cannot drift apart. The columns store what the file stores: yes/no as 0 or 1
// (the domain yesno), date-times as their "YYYY-MM-DD HH:MM:SS" text (the domain datetime), texts ordered and compared
// byte by byte as SQLite compares them (collation "C"). Each table has the key column the file's rowid stands for
// (data/sql_dialect.h); 成员信息's id already is one. Also makes fenlark_typeof, SQLite's typeof for the few queries
// that ask it, and the member-card index that the server keeps itself (data/server_member_index.h).
// Made in the first schema of search_path.
QString createServerTablesSql();

// The same in two parts, for a bulk load: the tables alone, then their indexes and the
// member-card index (whose triggers mirror only what is written after; rebuildMemberCardIndex
// fills it from the rows loaded before).
QString createServerBareTablesSql();
QString createServerIndexesSql();

// fenlark_typeof, what the dialect (data/sql_dialect.h) reads SQLite's typeof as: SQLite's answer
// for a value of each type, the domains yesno and datetime answering as their base types
// ('integer', 'text'). Replaces any earlier definition, so a register made before gets it too;
// needs the two domains.
QString typeofFunctionsSql();

} // namespace fenlark::schema
