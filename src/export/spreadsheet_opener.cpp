#include "export/spreadsheet_opener.h"

#include <QProcess>
#include <QStandardPaths>

namespace fenlark {

namespace {

// Runs a desktop helper (xdg-mime) and returns its output, or nothing when it is missing, hangs
// or fails.
QString helperOutput(const QString &name, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        return {};
    QProcess helper;
    helper.start(program, arguments);
    if (!helper.waitForFinished(5000)) {
        helper.kill();
        helper.waitForFinished(1000);
        return {};
    }
    if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0)
        return {};
    return QString::fromUtf8(helper.readAllStandardOutput()).trimmed();
}

} // namespace

QString DesktopSpreadsheetOpener::defaultApplication()
{
    return helperOutput(QStringLiteral("xdg-mime"),
                        {QStringLiteral("query"), QStringLiteral("default"), xlsxMimeType()});
}

bool DesktopSpreadsheetOpener::available()
{
    return !defaultApplication().isEmpty();
}

bool DesktopSpreadsheetOpener::open(const QString &path)
{
    if (!available())
        return false;
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    return !xdgOpen.isEmpty() && QProcess::startDetached(xdgOpen, {path});
}

} // namespace fenlark
