#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace fenlark {

inline QString xlsxMimeType()
{
    return QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
}

// Whether this machine has a program that opens .xlsx workbooks, and handing it one.
class SpreadsheetOpener {
public:
    virtual ~SpreadsheetOpener() = default;
    virtual bool available() = 0;
    // Starts the spreadsheet program on path without waiting for it; false when none could start.
    virtual bool open(const QString &path) = 0;
};

// A program with its arguments.
struct LaunchCommand {
    QString program;
    QStringList arguments;
};

// The desktop's default application for .xlsx files (as `xdg-mime query default` names it, looked
// up in the XDG data directories and only if its program exists), else the first known
// spreadsheet program found on PATH. Looked up afresh on every call, so a program installed while
// Fenlark runs is found at the next export. QDesktopServices is of no use here: it reports
// success even when nothing opens the file.
class DesktopSpreadsheetOpener final : public SpreadsheetOpener {
public:
    bool available() override;
    bool open(const QString &path) override;

    // The command that would open path, or none.
    static std::optional<LaunchCommand> commandFor(const QString &path);
};

// Test double: says whether a program is there as told and records what it was asked to open.
class RecordingSpreadsheetOpener final : public SpreadsheetOpener {
public:
    explicit RecordingSpreadsheetOpener(bool isAvailable = true) : m_available(isAvailable) {}

    bool available() override { return m_available; }
    bool open(const QString &path) override
    {
        if (!m_available)
            return false;
        m_opened << path;
        return true;
    }

    void setAvailable(bool isAvailable) { m_available = isAvailable; }
    const QStringList &opened() const { return m_opened; }

private:
    bool m_available;
    QStringList m_opened;
};

} // namespace fenlark
