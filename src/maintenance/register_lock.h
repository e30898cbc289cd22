#pragma once

#include <QString>

namespace fenlark::maintenance {

// An advisory lock (flock) on the register file itself. The program holds it shared for as
// long as its connection is open; a restore takes it exclusively, so it cannot replace the
// file under a running program (nor two restores run at once). flock locks belong to the open
// file, not the process, and vanish when the holder ends however it ends, so a crash never
// leaves a stale lock behind; they are separate from SQLite's own fcntl locks.
class RegisterLock {
public:
    enum class Mode { Shared, Exclusive };
    enum class Result { Locked, HeldElsewhere, Failed };

    RegisterLock() = default;
    ~RegisterLock() { release(); }
    RegisterLock(const RegisterLock &) = delete;
    RegisterLock &operator=(const RegisterLock &) = delete;

    // Never waits. HeldElsewhere when another open of the file holds a lock that conflicts;
    // Failed (with error) when the file cannot be opened or the file system has no locks.
    Result acquire(const QString &path, Mode mode, QString *error = nullptr);
    void release();
    bool isHeld() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace fenlark::maintenance
