#pragma once

#include <QString>

#include <functional>

namespace fenlark {

class DBConnection;

// Makes a new register file at path holding the three empty tables and their indexes.
// Refuses a path where anything already is (the file may be someone's register); on any
// failure no file is left behind and error says why in words for the user. The file is made
// beside path under a temporary name, synced and renamed into place only when complete, so an
// interruption never leaves a half-made file under path (at worst a "path.part" file).
bool createRegisterFile(const QString &path, QString &error);

// The same, then fills the new file through load inside one transaction before the indexes
// are built, which is much faster for a large first load. The file is written without a
// journal while it is new: should anything fail, the half-made file is removed anyway.
// A load that returns false (with error set) leaves no file behind.
using RegisterLoad = std::function<bool(DBConnection &connection, QString &error)>;
bool createRegisterFile(const QString &path, const RegisterLoad &load, QString &error);

} // namespace fenlark
