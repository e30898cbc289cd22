#include "tool_text.h"

#include <QHash>

namespace fenlark::dbtool {

namespace {

const QHash<QString, QString> &chineseTexts()
{
    static const QHash<QString, QString> texts{
        {QStringLiteral("usage:"), QStringLiteral("用法：")},
        {QStringLiteral("make a county register ready on a PostgreSQL server (tables, roles)"),
         QStringLiteral("在 PostgreSQL 服务器上建立县级数据库（数据表、角色）")},
        {QStringLiteral("usage: fenlark-db server-init URI\n"),
         QStringLiteral("用法：fenlark-db server-init 连接串\n")},
        {QStringLiteral("fenlark-db server-init: cannot reach the server %1: %2\n"),
         QStringLiteral("fenlark-db server-init：无法连接服务器 %1：%2\n")},
        {QStringLiteral("fenlark-db server-init: %1\n"), QStringLiteral("fenlark-db server-init：%1\n")},
        {QStringLiteral("made the register's tables\n"), QStringLiteral("已建立数据表\n")},
        {QStringLiteral("county role: %1\n"), QStringLiteral("县级角色：%1\n")},
        {QStringLiteral("township role of %1 ready\n"), QStringLiteral("乡镇 %1 的角色已就绪\n")},
        {QStringLiteral("no township in 区域管理 yet: run server-init again once there are some\n"),
         QStringLiteral("区域管理中还没有乡镇：添加乡镇后请再次运行 server-init\n")},
        {QStringLiteral("make an empty register (without FILE: where the program looks for it)"),
         QStringLiteral("新建空数据库（不写 FILE 时建在程序查找数据库的位置）")},
        {QStringLiteral("make a demo register (N households, 300 if not given)"),
         QStringLiteral("生成演示数据库（N 户，默认 300 户）")},
        {QStringLiteral("make the default demo register unless FILE exists"),
         QStringLiteral("FILE 不存在时生成默认演示数据库")},
        {QStringLiteral("bring over an Access register"), QStringLiteral("导入旧的 Access 数据库")},
        {QStringLiteral("print the version"), QStringLiteral("显示版本")},
        {QStringLiteral("a checked copy (into 备份 beside REGISTER if no DEST)"),
         QStringLiteral("备份并校验（不写 DEST 时存入数据库旁的“备份”文件夹）")},
        {QStringLiteral("put a sound backup in the register's place"), QStringLiteral("用完好的备份恢复数据库")},
        {QStringLiteral("list problems (exit 0 none, 1 some, 2 unreadable)"),
         QStringLiteral("检查数据（退出码 0 无问题，1 有问题，2 无法读取）")},
        {QStringLiteral("fenlark-db: unknown command '%1'\n"), QStringLiteral("fenlark-db：未知命令“%1”\n")},
        {QStringLiteral("usage: fenlark-db init [FILE]\n"), QStringLiteral("用法：fenlark-db init [文件]\n")},
        {QStringLiteral("fenlark-db init: %1\n"), QStringLiteral("fenlark-db init：%1\n")},
        {QStringLiteral("made the empty register %1\n"), QStringLiteral("已新建空数据库 %1\n")},
        {QStringLiteral("a register is already there: %1\n"), QStringLiteral("该位置已有数据库：%1\n")},
        {QStringLiteral("cannot make the folder %1\n"), QStringLiteral("无法建立文件夹 %1\n")},
        {QStringLiteral("usage: fenlark-db demo FILE [--households N]   (N a positive whole number)\n"),
         QStringLiteral("用法：fenlark-db demo 文件 [--households N]   （N 为正整数）\n")},
        {QStringLiteral("usage: fenlark-db demo-if-missing FILE\n"),
         QStringLiteral("用法：fenlark-db demo-if-missing 文件\n")},
        {QStringLiteral("fenlark-db %1: %2\n"), QStringLiteral("fenlark-db %1：%2\n")},
        {QStringLiteral("made a demo register of %1 households in %2\n"),
         QStringLiteral("已生成演示数据库（%1 户）：%2\n")},
        {QStringLiteral("usage: fenlark-db import ACCESS_FILE NEW_FILE\n"),
         QStringLiteral("用法：fenlark-db import 旧ACCESS文件 新文件\n")},
        {QStringLiteral("  %1: %2 of %3 rows ...\n"), QStringLiteral("  %1：%2 / %3 行 ……\n")},
        {QStringLiteral("fenlark-db import: %1\n"), QStringLiteral("fenlark-db import：%1\n")},
        {QStringLiteral("add a township's register to the county server (one transaction)"),
         QStringLiteral("把乡镇数据库并入县级服务器（一个事务）")},
        {QStringLiteral("write the county's (or one township's) part into a new register"),
         QStringLiteral("把全县（或一个乡镇）的数据写入新数据库文件")},
        {QStringLiteral("usage: fenlark-db push REGISTER URI\n"),
         QStringLiteral("用法：fenlark-db push 数据库文件 连接串\n")},
        {QStringLiteral("usage: fenlark-db pull URI FILE [--township NAME]\n"),
         QStringLiteral("用法：fenlark-db pull 连接串 新文件 [--township 乡镇名]\n")},
        {QStringLiteral("fenlark-db %1: cannot reach the server %2: %3\n"),
         QStringLiteral("fenlark-db %1：无法连接服务器 %2：%3\n")},
        {QStringLiteral("fenlark-db push: cannot open %1: %2\n"), QStringLiteral("fenlark-db push：无法打开 %1：%2\n")},
        {QStringLiteral("fenlark-db push: nothing was added: %1\n"),
         QStringLiteral("fenlark-db push：未添加任何数据：%1\n")},
        {QStringLiteral("pushed %1 to %2\n"), QStringLiteral("已将 %1 并入 %2\n")},
        {QStringLiteral("units: %1 added, %2 already there\n"), QStringLiteral("单位：新增 %1 个，已有 %2 个\n")},
        {QStringLiteral("households: %1 added\n"), QStringLiteral("农户：新增 %1 户\n")},
        {QStringLiteral("years: %1 added\n"), QStringLiteral("年份：新增 %1 个\n")},
        {QStringLiteral("%1 households are on the server already (year, unit, head, card) and were not added:\n"),
         QStringLiteral("服务器上已有以下 %1 户（年份、单位、户主、身份证相同），未重复添加：\n")},
        {QStringLiteral("fenlark-db pull: a file is already there: %1\n"),
         QStringLiteral("fenlark-db pull：该位置已有文件：%1\n")},
        {QStringLiteral("fenlark-db pull: %1\n"), QStringLiteral("fenlark-db pull：%1\n")},
        {QStringLiteral("wrote %1: %2 units, %3 households, %4 years\n"),
         QStringLiteral("已写入 %1：单位 %2 个，农户 %3 户，年份 %4 个\n")},
    };
    return texts;
}

} // namespace

bool speaksChinese()
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return value.startsWith("zh");
    }
    return false;
}

QString toolText(const char *english)
{
    const QString text = QString::fromUtf8(english);
    if (!speaksChinese())
        return text;
    return chineseTexts().value(text, text);
}

void print(FILE *to, const QString &text)
{
    std::fputs(text.toUtf8().constData(), to);
    std::fflush(to);
}

} // namespace fenlark::dbtool
