#pragma once

#include <QStringList>

// Each command takes its own arguments (after the command word), prints what it did to
// stdout and its refusals to stderr, and returns the process exit code.
namespace fenlark::dbtool {
int runInit(const QStringList &args);
int runDemo(const QStringList &args);
int runDemoIfMissing(const QStringList &args); // used by the build: a demo only where none is
int runImport(const QStringList &args);
int runBackup(const QStringList &args);     // exit 0 made and checked, 1 failed
int runRestore(const QStringList &args);    // exit 0 restored, 1 refused or failed
int runCheck(const QStringList &args);      // exit 0 clean, 1 findings, 2 unreadable
int runServerInit(const QStringList &args); // exit 0 ready, 1 failed, 2 usage
int runPush(const QStringList &args);       // exit 0 pushed (households already there told), 1 failed, 2 usage
int runPull(const QStringList &args);       // exit 0 written, 1 refused or failed, 2 usage
} // namespace fenlark::dbtool
