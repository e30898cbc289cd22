#pragma once

#include <QString>

class QWidget;

namespace fenlark {

class DBConnection;
class Dialogs;
class ProgramLocation;

// What the start-up found at the register's place (beside the program, or in the user's data folder).
enum class RegisterStatus {
    Opened,     // the connection is open
    Missing,    // no data.mdb: the program has nothing to work on
    AccessFile, // an Access register from the Windows build: it must be imported first
    Unopenable, // exists, but is not a register we can open (damaged, not a database, unreadable)
    Empty,      // a file of 0 bytes (a copy or a save that never finished)
    Incomplete, // a database without one of the three tables or one of their columns
};

// The register in use (or where the first start makes one): see locateRegister.
QString registerPath(const ProgramLocation &location);

// Opens the connection on the register in use; reason receives the store's words when the
// file exists but does not open, or what it lacks (Incomplete). An Incomplete or Empty file
// leaves the connection closed.
RegisterStatus openRegister(const ProgramLocation &location, DBConnection &connection, QString &reason);

// Shows the message for a refusal (nothing for Opened). The caller then ends the program.
void reportRegisterStatus(RegisterStatus status, const QString &path, const QString &reason, Dialogs &dialogs,
                          QWidget *parent);

QString missingRegisterMessage();
QString unopenableRegisterMessage(const QString &path, const QString &reason);
QString accessRegisterMessage(const QString &path);
QString emptyRegisterMessage(const QString &path);
QString incompleteRegisterMessage(const QString &path, const QString &missing);
QString readOnlyRegisterMessage(const QString &path);

} // namespace fenlark
