#include "shell/instance_guard.h"

#include "core/process_list.h"
#include "core/program_dir.h"
#include "core/text.h"

#include <QCoreApplication>

namespace fenlark {

int countSameNamedProcesses(const QString &ownExecutableName, const QStringList &runningExecutables)
{
    const QString own = asciiLower(ownExecutableName);
    int count = 0;
    for (const QString &name : runningExecutables) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        if (asciiLower(name) == own)
            ++count;
    }
    return count;
}

bool anotherCopyIsRunning(const ProgramLocation &location, const ProcessList &processes)
{
    return countSameNamedProcesses(location.executableName(), processes.executableNames()) >= 2;
}

} // namespace fenlark
