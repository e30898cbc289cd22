#pragma once

#include "core/clock.h"

#include <QString>

namespace fenlark::bench {

// The register sizes every benchmark runs on: a township, a county, a large county.
inline constexpr int kSizes[] = {10000, 100000, 1000000};

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
