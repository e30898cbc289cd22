#pragma once

#include <QString>
#include <QStringList>

namespace fenlark {

// The executable file names (without directory) of the running processes.
class ProcessList {
public:
    virtual ~ProcessList() = default;
    virtual QStringList executableNames() const = 0;
};

// Reads /proc: the name of each live process's executable, as the kernel reports it, for the
// processes of one user (the one running the program); exited (zombie) processes are left out.
class ProcProcessList final : public ProcessList {
public:
    // The real /proc, seen by the user running the program.
    ProcProcessList();
    // Another tree laid out as /proc (tests) and the user whose processes count.
    ProcProcessList(QString procRoot, unsigned int uid);
    QStringList executableNames() const override;

private:
    QString m_root;
    unsigned int m_uid;
};

class FixedProcessList final : public ProcessList {
public:
    explicit FixedProcessList(QStringList names) : m_names(std::move(names)) {}
    QStringList executableNames() const override { return m_names; }

private:
    QStringList m_names;
};

} // namespace fenlark
