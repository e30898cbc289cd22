// push and pull: a township's register file onto the county server, and a part of the server
// back into a file.
#include "commands.h"
#include "tool_text.h"

#include "county/county_transfer.h"
#include "data/db_connection.h"
#include "data/server_conf.h"

#include <QFileInfo>

namespace fenlark::dbtool {

namespace {

bool plain(const QString &arg)
{
    return !arg.isEmpty() && !arg.startsWith(u'-');
}

bool connectToServer(const char *command, const QString &uri, DBConnection &server)
{
    if (server.connectServer(uri))
        return true;
    // The server by host, port and database: a password given in the URI is never printed.
    print(stderr, toolText("fenlark-db %1: cannot reach the server %2: %3\n")
                      .arg(QString::fromLatin1(command), describeServer(uri), server.openFailureReason()));
    return false;
}

} // namespace

int runPush(const QStringList &args)
{
    if (args.size() != 2 || !plain(args.at(0)) || !plain(args.at(1))) {
        print(stderr, toolText("usage: fenlark-db push REGISTER URI\n"));
        return 2;
    }
    DBConnection file;
    if (!file.connectAccess(args.at(0), QString())) {
        print(stderr, toolText("fenlark-db push: cannot open %1: %2\n").arg(args.at(0), file.openFailureReason()));
        return 1;
    }
    DBConnection server;
    if (!connectToServer("push", args.at(1), server))
        return 1;
    county::PushReport report;
    QString error;
    if (!county::pushRegister(file, server, report, error)) {
        print(stderr, toolText("fenlark-db push: nothing was added: %1\n").arg(error));
        return 1;
    }
    QString text = toolText("pushed %1 to %2\n").arg(args.at(0), describeServer(args.at(1)));
    text += toolText("units: %1 added, %2 already there\n").arg(report.unitsAdded).arg(report.unitsMatched);
    text += toolText("households: %1 added\n").arg(report.householdsAdded);
    text += toolText("years: %1 added\n").arg(report.yearsAdded);
    if (!report.householdsThere.isEmpty()) {
        text += toolText("%1 households are on the server already (year, unit, head, card) and were not added:\n")
                    .arg(report.householdsThere.size());
        for (const QString &household : report.householdsThere)
            text += QStringLiteral("  ") + household + u'\n';
    }
    print(stdout, text);
    return 0;
}

int runPull(const QStringList &given)
{
    QStringList args = given;
    QString township;
    const qsizetype option = args.indexOf(QStringLiteral("--township"));
    if (option >= 0) {
        if (option + 1 >= args.size() || args.at(option + 1).isEmpty()) {
            print(stderr, toolText("usage: fenlark-db pull URI FILE [--township NAME]\n"));
            return 2;
        }
        township = args.at(option + 1);
        args.remove(option, 2);
    }
    if (args.size() != 2 || !plain(args.at(0)) || !plain(args.at(1))) {
        print(stderr, toolText("usage: fenlark-db pull URI FILE [--township NAME]\n"));
        return 2;
    }
    if (QFileInfo::exists(args.at(1))) {
        print(stderr, toolText("fenlark-db pull: a file is already there: %1\n").arg(args.at(1)));
        return 1;
    }
    DBConnection server;
    if (!connectToServer("pull", args.at(0), server))
        return 1;
    county::PullReport report;
    QString error;
    if (!county::pullRegister(server, township, args.at(1), report, error)) {
        print(stderr, toolText("fenlark-db pull: %1\n").arg(error));
        return 1;
    }
    print(stdout, toolText("wrote %1: %2 units, %3 households, %4 years\n")
                      .arg(args.at(1))
                      .arg(report.units)
                      .arg(report.households)
                      .arg(report.years));
    return 0;
}

} // namespace fenlark::dbtool
