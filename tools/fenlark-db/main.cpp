#include "commands.h"
#include "tool_text.h"

#include "core/version.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// One line per command: its arguments and what it does (in the user's language).
struct UsageLine {
    const char *arguments;
    const char *what;
};
constexpr UsageLine kUsage[] = {
    {"init [FILE]", "make an empty register (without FILE: where the program looks for it)"},
    {"demo FILE [--households N]", "make a demo register (N households, 300 if not given)"},
    {"demo-if-missing FILE", "make the default demo register unless FILE exists"},
    {"import ACCESS_FILE NEW_FILE", "bring over an Access register"},
    {"backup REGISTER [DEST]", "a checked copy (into 备份 beside REGISTER if no DEST)"},
    {"backup URI DEST", "a server register's backup by pg_dump (DEST a file or folder)"},
    {"restore BACKUP REGISTER", "put a sound backup in the register's place"},
    {"check REGISTER [--repair]", "list problems (exit 0 none, 1 some, 2 unreadable)"},
    {"server-init URI", "make a county register ready on a PostgreSQL server (tables, roles)"},
    {"push REGISTER URI", "add a township's register to the county server (one transaction)"},
    {"pull URI FILE [--township NAME]", "write the county's (or one township's) part into a new register"},
    {"--version", "print the version"},
};

void printUsage(FILE *to)
{
    using fenlark::dbtool::toolText;
    QString text = toolText("usage:") + u'\n';
    for (const UsageLine &line : kUsage)
        text += QStringLiteral("  fenlark-db %1 %2\n")
                    .arg(QString::fromLatin1(line.arguments), -28)
                    .arg(toolText(line.what));
    fenlark::dbtool::print(to, text);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QStringLiteral("--help") || args.first() == QStringLiteral("-h")) {
        printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QStringLiteral("--version")) {
        fenlark::dbtool::print(stdout, QStringLiteral("fenlark-db %1\n").arg(fenlark::fenlarkVersion()));
        return 0;
    }
    const QString command = args.takeFirst();
    using namespace fenlark::dbtool;
    if (command == QStringLiteral("init"))
        return runInit(args);
    if (command == QStringLiteral("demo"))
        return runDemo(args);
    if (command == QStringLiteral("demo-if-missing"))
        return runDemoIfMissing(args);
    if (command == QStringLiteral("import"))
        return runImport(args);
    if (command == QStringLiteral("backup"))
        return runBackup(args);
    if (command == QStringLiteral("restore"))
        return runRestore(args);
    if (command == QStringLiteral("check"))
        return runCheck(args);
    if (command == QStringLiteral("server-init"))
        return runServerInit(args);
    if (command == QStringLiteral("push"))
        return runPush(args);
    if (command == QStringLiteral("pull"))
        return runPull(args);
    print(stderr, toolText("fenlark-db: unknown command '%1'\n").arg(command));
    printUsage(stderr);
    return 2;
}
