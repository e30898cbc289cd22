#include "export/excel_application.h"

#include "core/clock.h"
#include "export/sheet_document.h"
#include "export/spreadsheet_opener.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace fenlark {

namespace {

// Reserves a file name no other export has taken: the sheet name and the time to the
// millisecond, with a counter added when that is taken already (two exports within one
// millisecond, or a clock set back). Creating the file claims the name.
QString reserveExportFile(const QString &folder, const QString &sheetName, const QDateTime &at)
{
    if (!QDir().mkpath(folder))
        return {};
    const QDir dir(folder);
    const QString stem = sheetName + u'_' + at.toString(QStringLiteral("yyyyMMdd_HHmmss_zzz"));
    for (int n = 1; n < 10000; ++n) {
        const QString suffix = n == 1 ? QString() : u'_' + QString::number(n);
        const QString name = stem + suffix + QStringLiteral(".xlsx");
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists())
            return {}; // the folder itself refuses new files
    }
    return {};
}

} // namespace

ExcelApplication::ExcelApplication(SpreadsheetOpener &opener, const Clock &clock) : m_opener(opener), m_clock(clock) {}

ExcelApplication::~ExcelApplication() = default;

bool ExcelApplication::start()
{
    release();
    m_started = m_opener.available();
    return m_started;
}

bool ExcelApplication::show()
{
    if (!m_started)
        return false;
    bool ok = true;
    for (Workbook &book : m_workbooks) {
        if (book.shown)
            continue;
        book.shown = true;
        QString path = reserveExportFile(exportFolder(), book.document->sheetName(), m_clock.now());
        if (path.isEmpty()) // the register's folder refuses: the user's documents are the clerk's too
            path = reserveExportFile(documentsExportFolder(), book.document->sheetName(), m_clock.now());
        if (path.isEmpty() || !book.document->save(path)) {
            ok = false;
            continue;
        }
        m_savedFiles << path;
        if (!m_opener.open(path))
            ok = false;
    }
    return ok;
}

QString ExcelApplication::exportFolder() const
{
    return m_exportFolder.isEmpty() ? QDir::tempPath() : m_exportFolder;
}

QString ExcelApplication::documentsExportFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return (documents.isEmpty() ? QDir::homePath() : documents) + QStringLiteral("/导出");
}

void ExcelApplication::release()
{
    m_workbooks.clear();
    m_started = false;
}

std::shared_ptr<SheetDocument> ExcelApplication::addWorkbook()
{
    if (!m_started)
        return nullptr;
    auto document = std::make_shared<SheetDocument>();
    m_workbooks.push_back({document, false});
    return document;
}

} // namespace fenlark
