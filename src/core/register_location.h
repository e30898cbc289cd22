#pragma once

#include <QString>
#include <QStringList>

namespace fenlark {

class ProgramLocation;

inline QString registerFileName()
{
    return QStringLiteral("data.mdb");
}

// Names the county server an office works on instead of a data.mdb (data/server_conf.h).
inline QString serverConfFileName()
{
    return QStringLiteral("fenlark-server.conf");
}

// Where the register in use is, or where the first start makes one.
struct RegisterLocation {
    QString folder;       // no trailing separator
    bool found = false;   // a data.mdb or a fenlark-server.conf is there
    bool server = false;  // found is the server's conf, not a data.mdb
    QStringList searched; // the data.mdb files looked for, in order (a conf is looked for beside each)
    QString path() const { return folder + u'/' + registerFileName(); }
    QString serverConfPath() const { return folder + u'/' + serverConfFileName(); }
};

// data.mdb beside the program first (the portable layout); an installed program then looks in
// the user's data folder, which is also where it makes a register when there is none. In each
// folder a data.mdb comes before a fenlark-server.conf: the office's own file stays the default.
RegisterLocation locateRegister(const ProgramLocation &program);

} // namespace fenlark
