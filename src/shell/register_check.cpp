#include "shell/register_check.h"

#include "core/program_dir.h"
#include "core/register_location.h"
#include "data/access_file.h"
#include "data/db_connection.h"
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
    if (!connection.connectAccess(path, QString())) {
        reason = connection.openFailureReason();
        return RegisterStatus::Unopenable;
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
    }
}

} // namespace fenlark
