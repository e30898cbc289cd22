#include "data/server_conf.h"

#include "data/db_connection.h"
#include "data/safe_file.h"
#include "data/schema.h"
#include "data/statement.h"

#include <libpq-fe.h>

#include <QFile>
#include <QStringList>

namespace fenlark {

namespace {

struct ParsedOptions {
    PQconninfoOption *options = nullptr;
    QString error;
    ~ParsedOptions() { PQconninfoFree(options); }

    explicit ParsedOptions(const QString &connectionString)
    {
        char *message = nullptr;
        options = PQconninfoParse(connectionString.toUtf8().constData(), &message);
        if (!options)
            error = message ? QString::fromUtf8(message).trimmed() : QStringLiteral("内存不足");
        PQfreemem(message);
    }

    QString value(const char *keyword) const
    {
        for (const PQconninfoOption *option = options; option && option->keyword; ++option) {
            if (qstrcmp(option->keyword, keyword) == 0)
                return option->val ? QString::fromUtf8(option->val) : QString();
        }
        return QString();
    }
};

QString quoted(const QString &value)
{
    QString text = value;
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + text + u'\'';
}

} // namespace

ServerConf parseServerConf(const QByteArray &content)
{
    ServerConf conf;
    QStringList parts;
    for (const QString &line : QString::fromUtf8(content).split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(u'#'))
            parts << trimmed;
    }
    conf.connectionString = parts.join(u' ');
    if (conf.connectionString.isEmpty()) {
        conf.error = QStringLiteral("文件中没有服务器的连接信息");
        return conf;
    }
    const ParsedOptions parsed(conf.connectionString);
    if (!parsed.options) {
        conf.error = QStringLiteral("连接信息无法识别：%1").arg(parsed.error);
        return conf;
    }
    if (!parsed.value("password").isEmpty())
        conf.error = QStringLiteral("文件中不能写密码(password=)：密码请放在 ~/.pgpass 中,或在启动时输入");
    return conf;
}

ServerConf readServerConf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ServerConf conf;
        conf.error = QStringLiteral("文件无法读取：%1").arg(file.errorString());
        return conf;
    }
    return parseServerConf(file.readAll());
}

QString describeServer(const QString &connectionString)
{
    const ParsedOptions parsed(connectionString);
    const auto shown = [&](const char *keyword) {
        const QString value = parsed.value(keyword);
        return value.isEmpty() ? QStringLiteral("默认") : value;
    };
    const QString host = parsed.value("host").isEmpty() ? shown("hostaddr") : shown("host");
    return QStringLiteral("host=%1 port=%2 dbname=%3").arg(host, shown("port"), shown("dbname"));
}

QString serverConnectionString(const QString &host, const QString &port, const QString &database, const QString &user)
{
    QStringList parts;
    const std::pair<const char *, QString> fields[] = {
        {"host", host.trimmed()}, {"port", port.trimmed()}, {"dbname", database.trimmed()}, {"user", user.trimmed()}};
    for (const auto &[keyword, value] : fields) {
        if (!value.isEmpty())
            parts << QString::fromLatin1(keyword) + u'=' + quoted(value);
    }
    return parts.join(u' ');
}

QString withPassword(const QString &connectionString, const QString &password)
{
    return connectionString + QStringLiteral(" password=") + quoted(password);
}

bool hasRegisterTables(DBConnection &connection)
{
    for (const QString &table : {schema::households::table, schema::regions::table, schema::years::table}) {
        Statement probe(connection, QStringLiteral("SELECT count(*) FROM ") + table + QStringLiteral(" WHERE 1 = 0"));
        if (!probe.isValid() || !probe.step())
            return false;
    }
    return true;
}

bool writeServerConf(const QString &path, const QString &connectionString, QString &error)
{
    if (QFile::exists(path)) {
        error = QStringLiteral("该位置已有文件：%1").arg(path);
        return false;
    }
    const QString temporary = unusedNameBeside(path);
    if (temporary.isEmpty()) {
        error = QStringLiteral("无法在 %1 旁建立临时文件").arg(path);
        return false;
    }
    QFile file(temporary);
    const QByteArray content =
        QByteArrayLiteral("# 县级服务器(libpq 连接串,不写密码：密码放在 ~/.pgpass 中或启动时输入)\n") +
        connectionString.toUtf8() + '\n';
    if (!file.open(QIODevice::NewOnly | QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.flush()) {
        error = file.errorString();
        file.close();
        QFile::remove(temporary);
        return false;
    }
    file.close();
    if (!moveIntoPlace(temporary, path, false, error)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace fenlark
