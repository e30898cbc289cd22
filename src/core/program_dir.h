#pragma once

#include <QString>

namespace fenlark {

// Where the program's own files live and what its executable is called, and where an installed
// program keeps the user's register instead (its own folder is the system's, not the user's).
class ProgramLocation {
public:
    virtual ~ProgramLocation() = default;
    virtual QString directory() const = 0;      // no trailing separator
    virtual QString executableName() const = 0; // file name only
    // True when the program runs from a system folder (under /usr) or one it may not write to:
    // then data.mdb is looked for in userDataFolder() after the program's own folder.
    virtual bool isInstalled() const = 0;
    // The per-user data folder of Fenlark (~/.local/share/fenlark); no trailing separator.
    virtual QString userDataFolder() const = 0;
    QString filePath(const QString &name) const { return directory() + u'/' + name; }
};

// The running executable's folder and name (from /proc/self/exe).
class RunningProgramLocation final : public ProgramLocation {
public:
    QString directory() const override;
    QString executableName() const override;
    bool isInstalled() const override;
    QString userDataFolder() const override;
};

// A location given by a test: portable (the register only beside the program), or installed
// with the user's data folder given.
class FixedProgramLocation final : public ProgramLocation {
public:
    FixedProgramLocation(QString dir, QString exe) : m_dir(std::move(dir)), m_exe(std::move(exe)) {}
    static FixedProgramLocation installed(QString dir, QString exe, QString dataFolder)
    {
        FixedProgramLocation location(std::move(dir), std::move(exe));
        location.m_installed = true;
        location.m_dataFolder = std::move(dataFolder);
        return location;
    }
    QString directory() const override { return m_dir; }
    QString executableName() const override { return m_exe; }
    bool isInstalled() const override { return m_installed; }
    QString userDataFolder() const override { return m_dataFolder; }

private:
    QString m_dir;
    QString m_exe;
    bool m_installed = false;
    QString m_dataFolder;
};

} // namespace fenlark
