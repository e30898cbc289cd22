#include "commands.h"
#include "register_maker.h"
#include "tool_text.h"

#include "core/program_dir.h"
#include "core/register_location.h"

#include <QDir>

namespace fenlark::dbtool {

namespace {

// Without a file name the register goes where the program will look for it: beside the
// program, or, when installed, in the user's data folder.
bool defaultRegisterPath(QString &path)
{
    const RegisterLocation place = locateRegister(RunningProgramLocation());
    if (place.found) {
        print(stderr, toolText("a register is already there: %1\n").arg(QDir::toNativeSeparators(place.path())));
        return false;
    }
    if (!QDir().mkpath(place.folder)) {
        print(stderr, toolText("cannot make the folder %1\n").arg(QDir::toNativeSeparators(place.folder)));
        return false;
    }
    path = place.path();
    return true;
}

} // namespace

int runInit(const QStringList &args)
{
    if (args.size() > 1 || (args.size() == 1 && (args.first().isEmpty() || args.first().startsWith(u'-')))) {
        print(stderr, toolText("usage: fenlark-db init [FILE]\n"));
        return 2;
    }
    QString path;
    if (!args.isEmpty())
        path = args.first();
    else if (!defaultRegisterPath(path))
        return 1;
    QString error;
    if (!makeEmptyRegister(path, error)) {
        print(stderr, toolText("fenlark-db init: %1\n").arg(error));
        return 1;
    }
    print(stdout, toolText("made the empty register %1\n").arg(path));
    return 0;
}

} // namespace fenlark::dbtool
