#include "export/spreadsheet_opener.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace fenlark {

namespace {

// Tried in this order when the desktop names no default: LibreOffice under its usual names,
// Gnumeric, WPS Spreadsheets.
const QStringList &knownSpreadsheetPrograms()
{
    static const QStringList names{QStringLiteral("libreoffice"), QStringLiteral("localc"), QStringLiteral("soffice"),
                                   QStringLiteral("gnumeric"), QStringLiteral("et")};
    return names;
}

QString findProgram(const QString &program)
{
    if (program.isEmpty())
        return {};
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

QStringList desktopIdsForXlsx()
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return {};
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), xlsxMimeType()});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    QStringList ids;
    const QStringList lines = QString::fromUtf8(query.readAllStandardOutput()).split(u'\n');
    for (const QString &line : lines)
        for (const QString &id : line.split(u';', Qt::SkipEmptyParts))
            if (!id.trimmed().isEmpty())
                ids << id.trimmed();
    return ids;
}

QStringList xdgDataDirs()
{
    QStringList dirs;
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.local/share");
    dirs << home;
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    dirs << system.split(u':', Qt::SkipEmptyParts);
    return dirs;
}

// A desktop file ID names applications/<id>, or with its dashes standing for subfolders
// ("vendor-calc.desktop" may be applications/vendor/calc.desktop).
QString findDesktopFile(const QString &id)
{
    if (id.contains(u'/') || !id.endsWith(QStringLiteral(".desktop")))
        return {};
    QStringList candidates{id};
    QString nested = id;
    for (qsizetype dash = nested.indexOf(u'-'); dash >= 0; dash = nested.indexOf(u'-', dash + 1)) {
        nested[dash] = u'/';
        candidates << nested;
    }
    for (const QString &dir : xdgDataDirs()) {
        for (const QString &candidate : candidates) {
            const QString path = dir + QStringLiteral("/applications/") + candidate;
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return {};
}

// The escapes of a desktop-entry string value.
QString unescapeValue(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != u'\\' || i + 1 == value.size()) {
            out += value.at(i);
            continue;
        }
        const QChar next = value.at(++i);
        if (next == u's')
            out += u' ';
        else if (next == u'n')
            out += u'\n';
        else if (next == u't')
            out += u'\t';
        else if (next == u'r')
            out += u'\r';
        else
            out += next;
    }
    return out;
}

// Splits an Exec line into arguments: blanks separate, double quotes group, and inside quotes a
// backslash takes the next character literally.
QStringList splitExec(const QString &exec)
{
    QStringList args;
    QString current;
    bool inArg = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == u'"')
                quoted = false;
            else if (c == u'\\' && i + 1 < exec.size())
                current += exec.at(++i);
            else
                current += c;
        } else if (c == u'"') {
            quoted = true;
            inArg = true;
        } else if (c == u' ' || c == u'\t') {
            if (inArg)
                args << current;
            current.clear();
            inArg = false;
        } else {
            current += c;
            inArg = true;
        }
    }
    if (inArg)
        args << current;
    return args;
}

// Puts path where the Exec line asks for a file or URL; without such a field the file goes last.
QStringList expandFieldCodes(const QStringList &args, const QString &path, bool *usedPath)
{
    QStringList out;
    for (const QString &arg : args) {
        if (arg == QStringLiteral("%i") || arg == QStringLiteral("%c") || arg == QStringLiteral("%k"))
            continue;
        QString expanded;
        bool dropped = false;
        for (qsizetype i = 0; i < arg.size(); ++i) {
            if (arg.at(i) != u'%' || i + 1 == arg.size()) {
                expanded += arg.at(i);
                continue;
            }
            const QChar code = arg.at(++i);
            if (code == u'%') {
                expanded += u'%';
            } else if (code == u'f' || code == u'F' || code == u'u' || code == u'U') {
                expanded += path;
                *usedPath = true;
            } else if (arg.size() == 2) {
                dropped = true; // a field standing alone that expands to nothing (%d, %n, ...)
            }
        }
        if (!dropped)
            out << expanded;
    }
    return out;
}

std::optional<LaunchCommand> commandFromDesktopFile(const QString &desktopFile, const QString &path)
{
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QString exec;
    QString tryExec;
    bool inEntry = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (!inEntry || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = unescapeValue(line.mid(eq + 1).trimmed());
        if (key == QStringLiteral("Exec"))
            exec = value;
        else if (key == QStringLiteral("TryExec"))
            tryExec = value;
        else if (key == QStringLiteral("Hidden") && value == QStringLiteral("true"))
            return std::nullopt;
    }
    if (!tryExec.isEmpty() && findProgram(tryExec).isEmpty())
        return std::nullopt;
    bool usedPath = false;
    QStringList args = expandFieldCodes(splitExec(exec), path, &usedPath);
    if (args.isEmpty())
        return std::nullopt;
    const QString program = findProgram(args.takeFirst());
    if (program.isEmpty())
        return std::nullopt;
    if (!usedPath)
        args << path;
    return LaunchCommand{program, args};
}

} // namespace

std::optional<LaunchCommand> DesktopSpreadsheetOpener::commandFor(const QString &path)
{
    for (const QString &id : desktopIdsForXlsx()) {
        const QString desktopFile = findDesktopFile(id);
        if (desktopFile.isEmpty())
            continue;
        if (auto command = commandFromDesktopFile(desktopFile, path))
            return command;
    }
    for (const QString &name : knownSpreadsheetPrograms()) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty())
            return LaunchCommand{program, {path}};
    }
    return std::nullopt;
}

bool DesktopSpreadsheetOpener::available()
{
    return commandFor(QStringLiteral("workbook.xlsx")).has_value();
}

bool DesktopSpreadsheetOpener::open(const QString &path)
{
    const auto command = commandFor(path);
    return command && QProcess::startDetached(command->program, command->arguments);
}

} // namespace fenlark
