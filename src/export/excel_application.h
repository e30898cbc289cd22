#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace fenlark {

class Clock;
class SheetDocument;
class SpreadsheetOpener;

// The spreadsheet application (`Excel程序1`): the program that receives the workbooks built here.
// Workbooks are kept in memory while they are filled; showing the application writes each new
// one to its own file in the export folder (where the clerk finds it again) and opens it with the
// spreadsheet program, which then belongs to the user. Releasing never closes that program.
class ExcelApplication {
public:
    ExcelApplication(SpreadsheetOpener &opener, const Clock &clock);
    ~ExcelApplication();
    ExcelApplication(const ExcelApplication &) = delete;
    ExcelApplication &operator=(const ExcelApplication &) = delete;

    // A new instance: drops the earlier one (its unshown workbooks are given up), then succeeds
    // only when a program that opens .xlsx files is installed.
    bool start();
    bool isStarted() const { return m_started; }

    // Makes the workbooks visible: saves each workbook not shown yet as a new file named after
    // its sheet, the time and a random token (贫农明细表_20261210_081502_3f9a0c71d2e4.xlsx) and
    // opens it. A workbook that could not be written completely is not opened. False when not
    // started or when a workbook could not be saved or opened.
    bool show();

    // A workbook written to a file of its own elsewhere (a sheet too long to be kept in memory):
    // counted among the saved files and opened like the others. False when not started or when
    // the spreadsheet program could not be started on it.
    bool showFile(const QString &path);
    // A new file name for a workbook of that sheet: 贫农明细表_20261210_081502_3f9a0c71d2e4.xlsx.
    QString exportFileName(const QString &sheetName) const;

    // The folder the workbooks are saved in, made when missing: the program sets "导出" beside
    // the register in use; when that folder refuses new files, "导出" in the user's documents is
    // used. Until a folder is set (tests, tools) it is the temporary folder.
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }
    QString exportFolder() const;
    static QString documentsExportFolder();
    // Every file saved by show() during the run, oldest first.
    const QStringList &savedFiles() const { return m_savedFiles; }

    // Drops the connection; files already handed to the spreadsheet program stay open there.
    void release();

    // Application.Workbooks.Add: a new empty workbook of this instance, or none before start().
    std::shared_ptr<SheetDocument> addWorkbook();

private:
    struct Workbook {
        std::shared_ptr<SheetDocument> document;
        bool shown = false;
    };

    SpreadsheetOpener &m_opener;
    const Clock &m_clock;
    bool m_started = false;
    std::vector<Workbook> m_workbooks;
    QString m_exportFolder;
    QStringList m_savedFiles;
};

} // namespace fenlark
