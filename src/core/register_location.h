#pragma once

#include <QString>
#include <QStringList>

namespace fenlark {

class ProgramLocation;

inline QString registerFileName()
{
    return QStringLiteral("data.mdb");
}

// Where the register in use is, or where the first start makes one.
struct RegisterLocation {
    QString folder;       // no trailing separator
    bool found = false;   // a data.mdb is there
    QStringList searched; // the files looked for, in order
    QString path() const { return folder + u'/' + registerFileName(); }
};

// data.mdb beside the program first (the portable layout); an installed program then looks in
// the user's data folder, which is also where it makes a register when there is none.
RegisterLocation locateRegister(const ProgramLocation &program);

} // namespace fenlark
