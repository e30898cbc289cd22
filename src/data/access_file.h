#pragma once

#include <QString>

namespace fenlark {

// True when the file at path begins with the header of a Jet 3/Jet 4 or ACE database
// (an Access register from the Windows build), which must be imported before use.
bool isAccessFile(const QString &path);

} // namespace fenlark
