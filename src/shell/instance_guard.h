#pragma once

#include <QString>
#include <QStringList>

namespace fenlark {

class ProcessList;
class ProgramLocation;

// How many of the running executables have the program's own file name, both lower-cased in
// ASCII only and compared exactly. The program itself is among them, so 2 or more means
// another copy runs.
int countSameNamedProcesses(const QString &ownExecutableName, const QStringList &runningExecutables);

// True when another copy of the program is running. Window events are processed once per
// listed process, as the walk can be long on a busy machine.
bool anotherCopyIsRunning(const ProgramLocation &location, const ProcessList &processes);

} // namespace fenlark
