#pragma once

#include <QString>

class QWidget;

namespace fenlark {

class DBConnection;
class Dialogs;

// Connects to a county server; when the server wants a password that ~/.pgpass does not give,
// asks the clerk for one (a modal window through dialogs) and tries once more with it. False
// with libpq's reason in reason when no connection was made.
bool connectAskingPassword(const QString &connectionString, DBConnection &connection, Dialogs &dialogs, QWidget *parent,
                           QString &reason);

// Opens the register on the server named by the conf at confPath. A conf that cannot be used,
// or a server that cannot be reached or has no register's tables, is shown through dialogs and
// false returned: the program then ends (exit code 0).
bool openServerRegister(const QString &confPath, DBConnection &connection, Dialogs &dialogs, QWidget *parent);

QString serverConfRefusedMessage(const QString &confPath, const QString &error);
QString serverUnreachableMessage(const QString &connectionString, const QString &reason);
QString serverWithoutTablesMessage(const QString &connectionString);

} // namespace fenlark
