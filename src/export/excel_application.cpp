#include "export/excel_application.h"

#include "core/clock.h"
#include "export/sheet_document.h"
#include "export/spreadsheet_opener.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUuid>

namespace fenlark {

namespace {

// Reserves a new file for a workbook in folder; creating the file claims the name. Nothing when
// it cannot be created.
QString reserveExportFile(const QString &folder, const QString &name)
{
    if (!QDir().mkpath(folder))
        return {};
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return {};
    return file.fileName();
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
        const QString name = exportFileName(book.document->sheetName());
        QString path = reserveExportFile(exportFolder(), name);
        if (path.isEmpty()) // the register's folder refuses: the user's documents are the clerk's too
            path = reserveExportFile(documentsExportFolder(), name);
        if (path.isEmpty() || !book.document->save(path)) {
            ok = false; // save() leaves no file behind; an unwritten workbook is never opened
            continue;
        }
        m_savedFiles << path;
        if (!m_opener.open(path))
            ok = false;
    }
    return ok;
}

QString ExcelApplication::exportFileName(const QString &sheetName) const
{
    // The sheet name and the time, so the user can tell the files apart, then random hex digits
    // of a fresh UUID, so two exports never meet on one name (in one second, from two programs,
    // or with the clock set back) and no search through taken names is needed.
    const QString token = QUuid::createUuid().toString(QUuid::Id128).left(12);
    return sheetName + u'_' + m_clock.now().toString(QStringLiteral("yyyyMMdd_HHmmss")) + u'_' + token +
           QStringLiteral(".xlsx");
}

bool ExcelApplication::showFile(const QString &path)
{
    if (!m_started)
        return false;
    m_savedFiles << path;
    return m_opener.open(path);
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
