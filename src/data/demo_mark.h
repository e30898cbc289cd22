#pragma once

namespace fenlark {

class DBConnection;

// A register made as a demo carries a one-row table 演示数据 that says so. A table rather than a
// header field (application_id, user_version) because any SQLite tool lists it with its words,
// and a copy or a backup of the file stays marked. Registers of an office never have it.
bool markAsDemoRegister(DBConnection &connection);
bool isDemoRegister(DBConnection &connection);

} // namespace fenlark
