#pragma once

#include <QDir>
#include <QTemporaryDir>

// Points the user's temporary directory (TMPDIR, which QDir::tempPath() follows) at a fresh
// empty folder for as long as the scope lives.
class TempDirScope {
public:
    TempDirScope() : m_previous(qgetenv("TMPDIR")), m_hadPrevious(qEnvironmentVariableIsSet("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
    }
    ~TempDirScope()
    {
        if (m_hadPrevious)
            qputenv("TMPDIR", m_previous);
        else
            qunsetenv("TMPDIR");
    }
    TempDirScope(const TempDirScope &) = delete;
    TempDirScope &operator=(const TempDirScope &) = delete;

    bool isValid() const { return m_dir.isValid() && QDir::tempPath() == QDir(m_dir.path()).absolutePath(); }
    QString path() const { return QDir(m_dir.path()).absolutePath(); }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};
