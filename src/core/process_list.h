#pragma once

#include <QStringList>

namespace fenlark {

// The executable file names (without directory) of the running processes.
class ProcessList {
public:
    virtual ~ProcessList() = default;
    virtual QStringList executableNames() const = 0;
};

// Reads /proc: the name of each process's executable, as the kernel reports it.
class ProcProcessList final : public ProcessList {
public:
    QStringList executableNames() const override;
};

class FixedProcessList final : public ProcessList {
public:
    explicit FixedProcessList(QStringList names) : m_names(std::move(names)) {}
    QStringList executableNames() const override { return m_names; }

private:
    QStringList m_names;
};

} // namespace fenlark
