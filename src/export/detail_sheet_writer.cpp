#include "export/detail_sheet_writer.h"

#include "data/safe_file.h"
#include "export/detail_sheet_columns.h"
#include "export/sheet_document.h"
#include "export/sheet_source.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <vector>

#include <xlsxwriter.h>

namespace fenlark {

namespace {

constexpr int kColumnCount = int(kDetailSheetColumns.size());

// The two formats of the sheet, made once: a workbook keeps every format it is given, so one
// per cell would grow with the list.
struct DetailFormats {
    lxw_format *title = nullptr;
    lxw_format *cell = nullptr;

    explicit DetailFormats(lxw_workbook *book) : title(workbook_add_format(book)), cell(workbook_add_format(book))
    {
        if (title) {
            format_set_font_size(title, kDetailSheetTitleSize);
            format_set_align(title, LXW_ALIGN_CENTER);
        }
        if (cell) {
            format_set_align(cell, LXW_ALIGN_CENTER);
            format_set_border(cell, LXW_BORDER_THIN);
            format_set_border_color(cell, LXW_COLOR_BLACK);
        }
    }
    bool valid() const { return title && cell; }
};

// Rows read from the list at a time: a list read from the store answers a large block far
// sooner than a row at a time, and a block of a few thousand rows costs a megabyte or two.
constexpr int kBlockRows = 4096;

// The bytes a cell is written with; the check marks are made once.
const char *cellValue(const SheetCell &cell, bool checkBox, QByteArray &buffer)
{
    static const QByteArray yes = QByteArrayLiteral("√");
    static const QByteArray no = QByteArrayLiteral("×");
    if (checkBox)
        return cell.checked ? yes.constData() : no.constData();
    buffer = cell.text.toUtf8();
    return buffer.constData();
}

// Writes the workbook at path with libxlsxwriter's constant-memory mode: each row goes to a
// staging file once the next one starts, so everything about a row (the title's height and
// merge, the column widths) is given before its cells, and rows strictly in order.
SheetWriteResult writeWorkbook(const SheetSource &list, const QString &path, const SheetWriteProgress &progress,
                               int every)
{
    const QByteArray fileName = QFile::encodeName(path);
    // The staging files go where the user's temporary files go, not to a hard-wired /tmp.
    QByteArray tempDir = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tempDir.data();
    lxw_workbook *book = workbook_new_opt(fileName.constData(), &options);
    if (!book)
        return SheetWriteResult::Failed;

    const int total = list.rowCount();
    const auto goOn = [&](int written) { return !progress || progress(written, total); };
    const QByteArray title = detailSheetTitle().toUtf8();
    lxw_worksheet *sheet = workbook_add_worksheet(book, title.constData());
    const DetailFormats formats(book);
    // Every write is checked: a cell libxlsxwriter refuses (a text beyond a sheet's limit, say)
    // would otherwise be missing from a file that looks complete.
    bool ok = sheet && formats.valid();
    const auto check = [&ok](lxw_error result) { ok = ok && result == LXW_NO_ERROR; };
    bool cancelled = !goOn(0);
    if (ok && !cancelled) {
        for (int column = 0; column < kColumnCount; ++column)
            check(worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column),
                                       kDetailSheetColumns[std::size_t(column)].width, nullptr));
        check(worksheet_set_row(sheet, 0, rowHeightForFontSize(kDetailSheetTitleSize), nullptr));
        check(worksheet_merge_range(sheet, 0, 0, 0, lxw_col_t(kColumnCount - 1), title.constData(), formats.title));
    }
    std::vector<SheetCell> block;
    int blockFirst = 0;
    QByteArray buffer;
    for (int row = 0; ok && !cancelled && row < total; ++row) {
        const size_t inBlock = size_t(row - blockFirst) * size_t(kColumnCount);
        if (row == 0 || inBlock >= block.size()) {
            // The header on its own, then the households in blocks.
            block = list.cells(row, row == 0 ? 1 : std::min(kBlockRows, total - row), kColumnCount);
            blockFirst = row;
        }
        const size_t at = size_t(row - blockFirst) * size_t(kColumnCount);
        const lxw_row_t excelRow = lxw_row_t(row + 1);
        for (int column = 0; ok && column < kColumnCount; ++column) {
            static const SheetCell none;
            const SheetCell &cell = at + size_t(column) < block.size() ? block[at + size_t(column)] : none;
            // Always text: a long digit string such as an identity-card number must arrive as
            // typed, not as a number rounded to 15 significant digits.
            const char *value = cellValue(cell, row > 0 && kDetailSheetColumns[std::size_t(column)].checkBox, buffer);
            if (!*value)
                check(worksheet_write_blank(sheet, excelRow, lxw_col_t(column), formats.cell));
            else
                check(worksheet_write_string(sheet, excelRow, lxw_col_t(column), value, formats.cell));
        }
        if ((row + 1) % every == 0 && row + 1 < total)
            cancelled = !goOn(row + 1);
    }
    if (ok && !cancelled)
        cancelled = !goOn(total);
    if (!ok || cancelled) {
        // Nothing of it is wanted: drop the workbook without assembling the file.
        lxw_workbook_free(book);
        return cancelled && ok ? SheetWriteResult::Cancelled : SheetWriteResult::Failed;
    }
    return workbook_close(book) == LXW_NO_ERROR ? SheetWriteResult::Written : SheetWriteResult::Failed;
}

} // namespace

SheetWriteResult writeDetailSheet(const SheetSource &list, const QString &target, const SheetWriteProgress &progress,
                                  int every)
{
    const QString part = unusedNameBeside(target);
    if (part.isEmpty())
        return SheetWriteResult::Failed;
    {
        // Claimed before the work starts: a folder that takes no files is known at once.
        QFile claim(part);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return SheetWriteResult::Failed;
    }
    SheetWriteResult result = writeWorkbook(list, part, progress, std::max(1, every));
    if (result == SheetWriteResult::Written) {
        QString error;
        if (moveIntoPlace(part, target, false, error))
            return result;
        result = SheetWriteResult::Failed;
    }
    QFile::remove(part);
    return result;
}

} // namespace fenlark
