#include "commands.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void printUsage(FILE *to)
{
    std::fputs("usage:\n"
               "  fenlark-db init FILE                     make an empty register\n"
               "  fenlark-db demo FILE [--households N]    make a demo register (N households, 300 if not given)\n"
               "  fenlark-db demo-if-missing FILE          make the default demo register unless FILE exists\n"
               "  fenlark-db import ACCESS_FILE NEW_FILE   bring over an Access register\n"
               "  fenlark-db backup REGISTER [DEST]        a checked copy (into 备份 beside REGISTER if no DEST)\n"
               "  fenlark-db restore BACKUP REGISTER       put a sound backup in the register's place\n"
               "  fenlark-db check REGISTER                list problems (exit 0 none, 1 some, 2 unreadable)\n",
               to);
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
    std::fprintf(stderr, "fenlark-db: unknown command '%s'\n", qPrintable(command));
    printUsage(stderr);
    return 2;
}
