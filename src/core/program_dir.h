#pragma once

#include <QString>

namespace fenlark {

// Where the program's own files live (data.mdb, logo.jpg) and what its executable is called.
class ProgramLocation {
public:
    virtual ~ProgramLocation() = default;
    virtual QString directory() const = 0;      // no trailing separator
    virtual QString executableName() const = 0; // file name only
    QString filePath(const QString &name) const { return directory() + u'/' + name; }
};

// The running executable's folder and name (from /proc/self/exe).
class RunningProgramLocation final : public ProgramLocation {
public:
    QString directory() const override;
    QString executableName() const override;
};

class FixedProgramLocation final : public ProgramLocation {
public:
    FixedProgramLocation(QString dir, QString exe) : m_dir(std::move(dir)), m_exe(std::move(exe)) {}
    QString directory() const override { return m_dir; }
    QString executableName() const override { return m_exe; }

private:
    QString m_dir;
    QString m_exe;
};

} // namespace fenlark
