#include "core/register_location.h"

#include "core/program_dir.h"

#include <QFileInfo>

namespace fenlark {

namespace {

void lookIn(RegisterLocation &place, const QString &folder)
{
    place.folder = folder;
    place.searched << place.path();
    if (QFileInfo::exists(place.path())) {
        place.found = true;
    } else if (QFileInfo::exists(place.serverConfPath())) {
        place.found = true;
        place.server = true;
    }
}

} // namespace

RegisterLocation locateRegister(const ProgramLocation &program)
{
    RegisterLocation place;
    lookIn(place, program.directory());
    if (place.found || !program.isInstalled() || program.userDataFolder().isEmpty())
        return place;
    lookIn(place, program.userDataFolder());
    return place;
}

} // namespace fenlark
