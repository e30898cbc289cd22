#include "shell/register_check.h"

#include "core/program_dir.h"
#include "core/register_location.h"
#include "data/access_file.h"
#include "data/db_connection.h"
#include "data/schema_check.h"
#include "ui/dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace fenlark {

QString registerPath(const ProgramLocation &location)
{
    return locateRegister(location).path();
}

RegisterStatus openRegister(const ProgramLocation &location, DBConnection &connection, QString &reason)
{
    const QString path = registerPath(location);
    reason.clear();
    if (!QFileInfo::exists(path))
        return RegisterStatus::Missing;
    if (isAccessFile(path))
        return RegisterStatus::AccessFile;
    // SQLite takes an empty file for an empty database; it is no register, so say so.
    if (QFileInfo(path).isFile() && QFileInfo(path).size() == 0)
        return RegisterStatus::Empty;
    if (!connection.connectAccess(path, QString())) {
        reason = connection.openFailureReason();
        return RegisterStatus::Unopenable;
    }
    // Going on without a table or column would make every list empty and every save fail.
    QStringList missing;
    for (const SchemaProblem &problem : missingSchemaParts(connection.handle()))
        missing.append(problem.text());
    if (!missing.isEmpty()) {
        connection.close();
        reason = missing.join(QStringLiteral("；"));
        return RegisterStatus::Incomplete;
    }
    return RegisterStatus::Opened;
}

QString missingRegisterMessage()
{
    return QStringLiteral("未发现数据库,无法使用!");
}

QString unopenableRegisterMessage(const QString &path, const QString &reason)
{
    // Going on with an empty register would silently drop every later save, so the program
    // stops and says which file and why.
    return QStringLiteral("数据库文件无法打开,无法使用!\n\n文件：%1\n原因：%2")
        .arg(QDir::toNativeSeparators(path), reason.isEmpty() ? QStringLiteral("未知") : reason);
}

QString accessRegisterMessage(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    const QString converted =
        QDir::toNativeSeparators(QFileInfo(path).absolutePath() + QStringLiteral("/data-new.mdb"));
    return QStringLiteral("数据库文件是 Access 格式,需要先转换才能使用!\n\n文件：%1\n\n"
                          "请运行以下命令转换：\n  fenlark-db import \"%1\" \"%2\"\n"
                          "然后将原文件另存备份,把 data-new.mdb 改名为 data.mdb。")
        .arg(native, converted);
}

QString emptyRegisterMessage(const QString &path)
{
    return QStringLiteral("数据库文件是空的(0 字节),无法使用!\n\n文件：%1\n\n"
                          "可以在命令行用 fenlark-db restore 从 备份 文件夹中的备份恢复。")
        .arg(QDir::toNativeSeparators(path));
}

QString incompleteRegisterMessage(const QString &path, const QString &missing)
{
    return QStringLiteral("数据库文件缺少必需的表或列,无法使用!\n\n文件：%1\n缺少：%2")
        .arg(QDir::toNativeSeparators(path), missing);
}

QString readOnlyRegisterMessage(const QString &path)
{
    return QStringLiteral("数据库文件是只读的:可以浏览和查询,但不能保存任何修改。\n\n文件：%1")
        .arg(QDir::toNativeSeparators(path));
}

void reportRegisterStatus(RegisterStatus status, const QString &path, const QString &reason, Dialogs &dialogs,
                          QWidget *parent)
{
    switch (status) {
    case RegisterStatus::Opened:
        return;
    case RegisterStatus::Missing:
        dialogs.message(parent, missingRegisterMessage(), MessageIcon::Error);
        return;
    case RegisterStatus::AccessFile:
        dialogs.message(parent, accessRegisterMessage(path), MessageIcon::Error);
        return;
    case RegisterStatus::Unopenable:
        dialogs.message(parent, unopenableRegisterMessage(path, reason), MessageIcon::Error);
        return;
    case RegisterStatus::Empty:
        dialogs.message(parent, emptyRegisterMessage(path), MessageIcon::Error);
        return;
    case RegisterStatus::Incomplete:
        dialogs.message(parent, incompleteRegisterMessage(path, reason), MessageIcon::Error);
        return;
    }
}

} // namespace fenlark
