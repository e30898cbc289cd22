#pragma once

#include <QString>

// Makers of new register files, for the commands and for tests and benchmarks that need a
// register to work on. Each refuses a path where a file already is, leaves no file behind
// when it fails, and then says why in error.
namespace fenlark::dbtool {

inline constexpr int kDefaultDemoHouseholds = 300;

// The three tables and their indexes, no rows.
bool makeEmptyRegister(const QString &path, QString &error);

// A register filled with made-up but plausible data: a country, a province, its cities,
// townships and village committees, and `households` households spread over the villages
// and the entry years 2019 to 2026, each year listed once in 年份管理. The same number of
// households always gives the same content.
bool makeDemoRegister(const QString &path, int households, QString &error);

} // namespace fenlark::dbtool
