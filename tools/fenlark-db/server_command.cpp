#include "commands.h"
#include "tool_text.h"

#include "data/db_connection.h"
#include "data/server_setup.h"

namespace fenlark::dbtool {

int runServerInit(const QStringList &args)
{
    if (args.size() != 1 || args.first().isEmpty() || args.first().startsWith(u'-')) {
        print(stderr, toolText("usage: fenlark-db server-init URI\n"));
        return 2;
    }
    DBConnection connection;
    if (!connection.connectServer(args.first())) {
        print(stderr, toolText("fenlark-db server-init: cannot reach the server %1: %2\n")
                          .arg(args.first(), connection.openFailureReason()));
        return 1;
    }
    ServerInitReport report;
    QString error;
    if (!initServerRegister(connection, report, error)) {
        print(stderr, toolText("fenlark-db server-init: %1\n").arg(error.trimmed()));
        return 1;
    }
    if (report.tablesMade)
        print(stdout, toolText("made the register's tables\n"));
    print(stdout, toolText("county role: %1\n").arg(serverRoles::county));
    for (const QString &township : report.townships)
        print(stdout, toolText("township role of %1 ready\n").arg(township));
    if (report.townships.isEmpty())
        print(stdout, toolText("no township in 区域管理 yet: run server-init again once there are some\n"));
    return 0;
}

} // namespace fenlark::dbtool
