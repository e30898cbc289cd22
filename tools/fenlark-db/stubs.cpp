// Temporary: init and demo answer that they are missing until they are built.
#include "commands.h"
#include <cstdio>
namespace fenlark::dbtool {
int runInit(const QStringList &) { std::fputs("fenlark-db: init not built yet\n", stderr); return 1; }
int runDemo(const QStringList &) { std::fputs("fenlark-db: demo not built yet\n", stderr); return 1; }
int runDemoIfMissing(const QStringList &) { return 0; }
} // namespace fenlark::dbtool
