#include "commands.h"
#include "register_maker.h"

#include <cstdio>

namespace fenlark::dbtool {

int runInit(const QStringList &args)
{
    if (args.size() != 1 || args.first().isEmpty() || args.first().startsWith(u'-')) {
        std::fputs("usage: fenlark-db init FILE\n", stderr);
        return 2;
    }
    const QString &path = args.first();
    QString error;
    if (!makeEmptyRegister(path, error)) {
        std::fprintf(stderr, "fenlark-db init: %s\n", qPrintable(error));
        return 1;
    }
    std::fprintf(stdout, "made the empty register %s\n", qPrintable(path));
    return 0;
}

} // namespace fenlark::dbtool
