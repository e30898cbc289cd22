#include "export/detail_workbook_thread.h"

#include "export/detail_sheet_columns.h"
#include "export/sheet_document.h"

#include <utility>

#include <xlsxwriter.h>

namespace fenlark {

namespace {

// Blocks waiting to be written: two keep the writer busy while the next one is read, and hold
// only a few megabytes.
constexpr std::size_t kQueuedBlocks = 2;

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

} // namespace

DetailWorkbookThread::DetailWorkbookThread(QByteArray path, QByteArray tempDir)
    : m_path(std::move(path)), m_tempDir(std::move(tempDir)), m_thread([this] { run(); })
{
}

DetailWorkbookThread::~DetailWorkbookThread()
{
    stop();
    m_thread.join();
}

bool DetailWorkbookThread::offer(DetailRowBlock &block, std::chrono::milliseconds wait)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, wait, [this] { return m_ended || m_stopped || m_queue.size() < kQueuedBlocks; });
    if (m_ended || m_stopped || m_finished || m_queue.size() >= kQueuedBlocks)
        return false;
    m_queue.push_back(std::move(block));
    m_changed.notify_all();
    return true;
}

void DetailWorkbookThread::finish()
{
    std::lock_guard lock(m_mutex);
    m_finished = true;
    m_changed.notify_all();
}

void DetailWorkbookThread::stop()
{
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_queue.clear();
    m_changed.notify_all();
}

bool DetailWorkbookThread::waitForEnd(std::chrono::milliseconds wait)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, wait, [this] { return m_ended; });
}

bool DetailWorkbookThread::ended() const
{
    std::lock_guard lock(m_mutex);
    return m_ended;
}

bool DetailWorkbookThread::written() const
{
    std::lock_guard lock(m_mutex);
    return m_written;
}

bool DetailWorkbookThread::take(DetailRowBlock &block)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stopped || m_finished || !m_queue.empty(); });
    if (m_stopped || m_queue.empty())
        return false;
    block = std::move(m_queue.front());
    m_queue.pop_front();
    m_changed.notify_all(); // room for the next block
    return true;
}

void DetailWorkbookThread::end(bool written)
{
    std::lock_guard lock(m_mutex);
    m_ended = true;
    m_written = written;
    m_changed.notify_all();
}

// libxlsxwriter's constant-memory mode: each row goes to a staging file once the next one
// starts, so everything about a row (the title's height and merge, the column widths) is given
// before its cells, and rows strictly in order.
void DetailWorkbookThread::run()
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    QByteArray tempDir = m_tempDir; // libxlsxwriter takes a char *
    options.tmpdir = tempDir.data();
    lxw_workbook *book = workbook_new_opt(m_path.constData(), &options);
    if (!book) {
        end(false);
        return;
    }
    const QByteArray title = detailSheetTitle().toUtf8();
    lxw_worksheet *sheet = workbook_add_worksheet(book, title.constData());
    const DetailFormats formats(book);
    // Every write is checked: a cell libxlsxwriter refuses (a text beyond a sheet's limit, say)
    // would otherwise be missing from a file that looks complete.
    bool ok = sheet && formats.valid();
    const auto check = [&ok](lxw_error result) { ok = ok && result == LXW_NO_ERROR; };
    if (ok) {
        for (int column = 0; column < kDetailSheetColumnCount; ++column)
            check(worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column),
                                       kDetailSheetColumns[std::size_t(column)].width, nullptr));
        check(worksheet_set_row(sheet, 0, rowHeightForFontSize(kDetailSheetTitleSize), nullptr));
        check(worksheet_merge_range(sheet, 0, 0, 0, lxw_col_t(kDetailSheetColumnCount - 1), title.constData(),
                                    formats.title));
    }
    DetailRowBlock block;
    int row = 0; // of the list; the sheet's row is one further down, under the title
    while (ok && take(block)) {
        for (int inBlock = 0; ok && inBlock < block.rows; ++inBlock, ++row) {
            const lxw_row_t sheetRow = lxw_row_t(row + 1);
            for (int column = 0; ok && column < kDetailSheetColumnCount; ++column) {
                const char *value = block.cell(std::size_t(inBlock) * kDetailSheetColumnCount + std::size_t(column));
                if (!*value)
                    check(worksheet_write_blank(sheet, sheetRow, lxw_col_t(column), formats.cell));
                else
                    check(worksheet_write_string(sheet, sheetRow, lxw_col_t(column), value, formats.cell));
            }
            if (ok)
                m_rowsWritten.store(row + 1, std::memory_order_relaxed);
        }
    }
    bool finished = false;
    {
        std::lock_guard lock(m_mutex);
        finished = ok && m_finished && !m_stopped && m_queue.empty();
    }
    if (!finished) {
        // Nothing of it is wanted, or it cannot be complete: drop it without assembling a file.
        lxw_workbook_free(book);
        end(false);
        return;
    }
    end(workbook_close(book) == LXW_NO_ERROR);
}

} // namespace fenlark
