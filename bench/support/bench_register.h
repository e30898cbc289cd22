#pragma once

#include "core/clock.h"

#include <QString>

#include <map>
#include <memory>

namespace fenlark::bench {

// The register sizes every benchmark runs on: a township, a county, a large county.
inline constexpr int kSizes[] = {10000, 100000, 1000000};

// One fixture of type T per register size, made on first use and kept for the whole run, so
// the benchmarks of a size share one open register.
template <class T> T &fixtureFor(int households)
{
    static std::map<int, std::unique_ptr<T>> fixtures;
    std::unique_ptr<T> &fixture = fixtures[households];
    if (!fixture)
        fixture = std::make_unique<T>(households);
    return *fixture;
}

// The same moment for every run, so saved times and the current year do not move the figures.
const Clock &benchClock();

// The path of a `fenlark-db demo` register of this many households, made on first use (about
// 20 s for a million) and kept in /tmp/fenlark-bench for the next run.
QString demoRegister(int households);

// The first village committee of a register, in the order of its region table, and the
// township above it.
struct Village {
    QString township;
    QString name;
};
Village firstVillage(const QString &registerPath);

// What the kernel says of this process: the peak resident set (VmHWM) and the current one, in MB.
double peakResidentMB();
double residentMB();

// Google Benchmark's main with an offscreen QApplication, for benchmarks that build widgets.
int runWidgetBenchmarks(int argc, char **argv);

} // namespace fenlark::bench
