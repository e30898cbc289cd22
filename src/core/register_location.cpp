#include "core/register_location.h"

#include "core/program_dir.h"

#include <QFileInfo>

namespace fenlark {

RegisterLocation locateRegister(const ProgramLocation &program)
{
    RegisterLocation place;
    place.folder = program.directory();
    place.searched << place.path();
    place.found = QFileInfo::exists(place.path());
    if (place.found || !program.isInstalled() || program.userDataFolder().isEmpty())
        return place;
    place.folder = program.userDataFolder();
    place.searched << place.path();
    place.found = QFileInfo::exists(place.path());
    return place;
}

} // namespace fenlark
