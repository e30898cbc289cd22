#include "export/detail_sheet_writer.h"

#include "data/safe_file.h"
#include "export/detail_sheet_columns.h"
#include "export/detail_workbook_thread.h"
#include "export/sheet_source.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

namespace fenlark {

namespace {

// Rows read from the list at a time: a list read from the store answers a large block far
// sooner than a row at a time, and a block of a few thousand rows costs a megabyte or two.
constexpr int kBlockRows = 4096;

// How long the window goes without repainting while the writer catches up or assembles the file.
constexpr std::chrono::milliseconds kWindowBeat{50};

// The bytes each cell of rows first.. is written with; the check marks are made once.
DetailRowBlock packRows(const std::vector<SheetCell> &cells, int first, int rows)
{
    static const QByteArray yes = QByteArrayLiteral("√");
    static const QByteArray no = QByteArrayLiteral("×");
    DetailRowBlock block;
    block.rows = rows;
    block.starts.reserve(std::size_t(rows) * kDetailSheetColumnCount);
    block.bytes.reserve(std::size_t(rows) * kDetailSheetColumnCount * 12);
    for (int r = 0; r < rows; ++r) {
        for (int column = 0; column < kDetailSheetColumnCount; ++column) {
            static const SheetCell none;
            const std::size_t at = std::size_t(r) * kDetailSheetColumnCount + std::size_t(column);
            const SheetCell &cell = at < cells.size() ? cells[at] : none;
            block.starts.push_back(std::uint32_t(block.bytes.size()));
            if (first + r > 0 && kDetailSheetColumns[std::size_t(column)].checkBox) {
                const QByteArray &mark = cell.checked ? yes : no;
                block.bytes.append(mark.constData(), std::size_t(mark.size()));
            } else {
                // Always text: a long digit string such as an identity-card number must arrive as
                // typed, not as a number rounded to 15 significant digits.
                const QByteArray text = cell.text.toUtf8();
                block.bytes.append(text.constData(), std::size_t(text.size()));
            }
            block.bytes.push_back('\0');
        }
    }
    return block;
}

// Reads the list in blocks and hands them to the workbook's thread, telling progress each
// `every` rows the writer has written; the last report comes with the file assembled, and
// while the writer catches up or assembles it, the last report is repeated so the window
// repaints and 取消 is seen.
SheetWriteResult writeWorkbook(const SheetSource &list, const QString &path, const SheetWriteProgress &progress,
                               int every)
{
    const int total = list.rowCount();
    const auto goOn = [&](int written) { return !progress || progress(written, total); };
    // The staging files go where the user's temporary files go, not to a hard-wired /tmp.
    DetailWorkbookThread writer(QFile::encodeName(path), QFile::encodeName(QDir::tempPath()));

    bool cancelled = !goOn(0);
    int lastReport = 0;
    int nextRow = 0; // the first row not yet read
    std::optional<DetailRowBlock> pending;
    bool finished = false;
    while (!cancelled && !writer.ended()) {
        if (!pending && nextRow < total) {
            // The header on its own, then the households in blocks.
            const int rows = nextRow == 0 ? 1 : std::min(kBlockRows, total - nextRow);
            pending = packRows(list.cells(nextRow, rows, kDetailSheetColumnCount), nextRow, rows);
            nextRow += rows;
        }
        bool reported = false;
        if (pending) {
            if (writer.offer(*pending, kWindowBeat))
                pending.reset();
        } else if (!finished) {
            writer.finish();
            finished = true;
        } else {
            writer.waitForEnd(kWindowBeat);
        }
        const int written = writer.rowsWritten();
        while (!cancelled && lastReport + every <= written && lastReport + every < total) {
            lastReport += every;
            cancelled = !goOn(lastReport);
            reported = true;
        }
        if (!cancelled && !reported && (pending || finished) && !writer.ended())
            cancelled = !goOn(lastReport);
    }
    if (cancelled) {
        // A writer that had already failed is a failure, whatever the clerk pressed afterwards.
        // Otherwise it stops here; the thread is waited for as the writer goes out of scope.
        const bool failedFirst = writer.ended() && !writer.written();
        writer.stop();
        return failedFirst ? SheetWriteResult::Failed : SheetWriteResult::Cancelled;
    }
    if (!writer.written())
        return SheetWriteResult::Failed;
    return goOn(total) ? SheetWriteResult::Written : SheetWriteResult::Cancelled;
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
