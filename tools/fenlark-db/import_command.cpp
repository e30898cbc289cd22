#include "commands.h"
#include "tool_text.h"

#include "import/import.h"

namespace fenlark::dbtool {

namespace {

// Tables smaller than this are done before a progress line would be read.
constexpr qint64 kProgressFrom = 5000;

} // namespace

int runImport(const QStringList &args)
{
    if (args.size() != 2) {
        print(stderr, toolText("usage: fenlark-db import ACCESS_FILE NEW_FILE\n"));
        return 2;
    }
    // One line per tenth of a large table.
    QString lastTable;
    qint64 lastTenth = 0;
    const importer::ImportProgress progress = [&](const QString &table, qint64 done, qint64 total) {
        if (total < kProgressFrom)
            return;
        if (table != lastTable) {
            lastTable = table;
            lastTenth = 0;
        }
        const qint64 tenth = done * 10 / total;
        if (tenth <= lastTenth || done == total)
            return;
        lastTenth = tenth;
        print(stdout, toolText("  %1: %2 of %3 rows ...\n").arg(table).arg(done).arg(total));
    };
    QString report;
    QString error;
    if (!importer::importAccessRegister(args.at(0), args.at(1), progress, report, error)) {
        print(stderr, toolText("fenlark-db import: %1\n").arg(error));
        return 1;
    }
    print(stdout, report + u'\n');
    return 0;
}

} // namespace fenlark::dbtool
