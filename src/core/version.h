#pragma once

#include <QString>

namespace fenlark {

// The release number of the program and its tools, from the project's version in CMake.
inline QString fenlarkVersion()
{
    return QStringLiteral(FENLARK_VERSION);
}

} // namespace fenlark
