#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Copies of a register file taken with SQLite's online backup, and the file's own checks.
// Each opens its own connection, so they may run on a worker thread while the program keeps
// using the register.
namespace fenlark::maintenance {

// Copies the register at source into a new file at destination, page by page through SQLite
// (never a file copy, which could catch a save half-written). The copy is made under a
// temporary name, synced and renamed to destination only when it is complete and passes
// PRAGMA integrity_check; with replace false an existing destination is never touched. On
// failure nothing is left at destination and error says why.
bool copyRegister(const QString &source, const QString &destination, bool replace, QString &error);

enum class CheckDepth { Quick, Full }; // PRAGMA quick_check or integrity_check

// What SQLite's own check of the file reports: empty when it is sound. A file that cannot be
// read at all gives one line saying why, and unreadable is set.
// progress, when given, receives an estimate of the share done (0 to below 1) now and then.
QStringList integrityProblems(const QString &path, CheckDepth depth, bool *unreadable = nullptr,
                              const std::function<void(double done)> &progress = {});

// Households in the register file, -1 when it cannot be read.
qint64 householdCount(const QString &path);

} // namespace fenlark::maintenance
