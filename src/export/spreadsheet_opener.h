#pragma once

#include <QString>
#include <QStringList>

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

// The desktop's own opener: a program opens .xlsx files when the desktop names a default
// application for them (`xdg-mime query default`), and the file is handed over with `xdg-open`,
// which starts that application however the desktop wants it started. Asked afresh on every
// call, so a program installed while Fenlark runs is found at the next export.
// QDesktopServices::openUrl reports success even when nothing opens the file, hence the question
// to xdg-mime first.
class DesktopSpreadsheetOpener final : public SpreadsheetOpener {
public:
    bool available() override;
    bool open(const QString &path) override;

    // The desktop file ID of the default application for .xlsx, empty when there is none.
    static QString defaultApplication();
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
