#include "export/poor_household_export.h"

#include "export/detail_sheet_columns.h"
#include "export/detail_sheet_writer.h"
#include "export/excel_application.h"
#include "export/sheet_source.h"
#include "ui/dialogs.h"

#include <QDir>
#include <QTemporaryFile>

#include <memory>

namespace fenlark {

namespace {

// Made when missing and able to take a new file: the work of a long export is not started in a
// folder that will refuse its result.
bool takesFiles(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".fenlark_XXXXXX")));
    return probe.open();
}

} // namespace

void exportPoorHouseholdSheet(const SheetSource &list, ExcelApplication &app, Dialogs &dialogs, QWidget *parent)
{
    if (!app.start()) {
        dialogs.message(parent, QStringLiteral("请确保本机已安装微软件office软件！"), MessageIcon::Error,
                        QStringLiteral("信息："));
        return;
    }
    QString folder = app.exportFolder();
    if (!takesFiles(folder)) // the register's folder refuses: the user's documents are the clerk's too
        folder = ExcelApplication::documentsExportFolder();
    const QString path = QDir(folder).filePath(app.exportFileName(detailSheetTitle()));

    SheetWriteResult result = SheetWriteResult::Failed;
    if (takesFiles(folder)) {
        std::unique_ptr<ProgressWindow> window;
        SheetWriteProgress progress;
        if (list.rowCount() - 1 > kExportProgressRows) {
            window = dialogs.showProgress(parent, QStringLiteral("正在导出贫农明细表,请稍候……"), list.rowCount());
            progress = [&window](int written, int) { return window->advance(written); };
        }
        result = writeDetailSheet(list, path, progress);
    }
    switch (result) {
    case SheetWriteResult::Written:
        if (app.showFile(path))
            return;
        break;
    case SheetWriteResult::Cancelled:
        return; // the clerk stopped it: nothing was written, nothing more to say
    case SheetWriteResult::Failed:
        break;
    }
    dialogs.message(parent, QStringLiteral("导出失败,贫农明细表没有写成文件,请检查磁盘空间和临时文件夹后重试!"),
                    MessageIcon::Error);
}

} // namespace fenlark
