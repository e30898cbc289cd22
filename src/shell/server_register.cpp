#include "shell/server_register.h"

#include "data/db_connection.h"
#include "data/server_conf.h"
#include "ui/dialogs.h"

#include <QDir>
#include <QInputDialog>
#include <QLineEdit>

namespace fenlark {

bool connectAskingPassword(const QString &connectionString, DBConnection &connection, Dialogs &dialogs, QWidget *parent,
                           QString &reason)
{
    if (connection.connectServer(connectionString))
        return true;
    reason = connection.openFailureReason();
    if (!connection.openFailureNeedsPassword())
        return false;
    QInputDialog prompt(parent);
    prompt.setObjectName(QStringLiteral("输入服务器密码"));
    prompt.setWindowTitle(QStringLiteral("连接县级服务器"));
    prompt.setLabelText(QStringLiteral("服务器 %1 需要密码：").arg(describeServer(connectionString)));
    prompt.setTextEchoMode(QLineEdit::Password);
    if (dialogs.showModal(&prompt) != QDialog::Accepted)
        return false;
    // The password lives only in this connection string, never in a file.
    if (connection.connectServer(withPassword(connectionString, prompt.textValue())))
        return true;
    reason = connection.openFailureReason();
    return false;
}

QString serverConfRefusedMessage(const QString &confPath, const QString &error)
{
    return QStringLiteral("服务器配置文件无法使用,无法使用!\n\n文件：%1\n原因：%2")
        .arg(QDir::toNativeSeparators(confPath), error);
}

QString serverUnreachableMessage(const QString &connectionString, const QString &reason)
{
    return QStringLiteral("无法连接县级服务器,无法使用!\n\n服务器：%1\n原因：%2")
        .arg(describeServer(connectionString), reason.isEmpty() ? QStringLiteral("未知") : reason);
}

QString serverWithoutTablesMessage(const QString &connectionString)
{
    return QStringLiteral("县级服务器上没有数据库的数据表,无法使用!\n\n服务器：%1\n"
                          "请先在服务器上运行：fenlark-db server-init 连接串")
        .arg(describeServer(connectionString));
}

bool openServerRegister(const QString &confPath, DBConnection &connection, Dialogs &dialogs, QWidget *parent)
{
    const ServerConf conf = readServerConf(confPath);
    if (!conf.ok()) {
        dialogs.message(parent, serverConfRefusedMessage(confPath, conf.error), MessageIcon::Error);
        return false;
    }
    QString reason;
    if (!connectAskingPassword(conf.connectionString, connection, dialogs, parent, reason)) {
        dialogs.message(parent, serverUnreachableMessage(conf.connectionString, reason), MessageIcon::Error);
        return false;
    }
    // Going on without the tables would make every list empty and every save fail.
    if (!hasRegisterTables(connection)) {
        connection.close();
        dialogs.message(parent, serverWithoutTablesMessage(conf.connectionString), MessageIcon::Error);
        return false;
    }
    return true;
}

} // namespace fenlark
