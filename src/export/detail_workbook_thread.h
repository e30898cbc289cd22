#pragma once

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fenlark {

// Rows of the detail sheet as they are written: each cell's UTF-8 bytes ending in a NUL, in
// row order, with where each cell starts. An empty cell is written blank.
struct DetailRowBlock {
    std::string bytes;
    std::vector<std::uint32_t> starts; // one per cell, columns to a row
    int rows = 0;

    const char *cell(std::size_t index) const { return bytes.data() + starts[index]; }
};

// Writes the detail sheet's workbook (title, column widths, then the rows handed to it) on a
// thread of its own, then assembles the file. The list is read on the thread that owns it, the
// window's: its rows are read from the store through the same connection and cache the screen
// uses. Only the workbook moves to this thread: writing the cells and compressing the finished
// file take most of a long export's time, and the reading of the next rows overlaps them.
//
// The rows wait in a short queue (a few blocks), so memory stays that of a few thousand rows.
class DetailWorkbookThread {
public:
    // Starts writing the workbook at path (an existing, claimed file it overwrites), with its
    // staging files in tempDir.
    DetailWorkbookThread(QByteArray path, QByteArray tempDir);
    // Stops the writing if it is still going and waits for the thread.
    ~DetailWorkbookThread();
    DetailWorkbookThread(const DetailWorkbookThread &) = delete;
    DetailWorkbookThread &operator=(const DetailWorkbookThread &) = delete;

    // Hands the next rows over, waiting at most `wait` for room in the queue; false while there
    // is none (block is then left as it was) or once the writing has ended.
    bool offer(DetailRowBlock &block, std::chrono::milliseconds wait);
    // No more rows follow: the file is assembled once the queue is written.
    void finish();
    // Nothing more is wanted: rows still queued are dropped and the workbook is freed without
    // its file being assembled. Assembling already begun runs to its end (it cannot be broken
    // off); the caller removes the file.
    void stop();
    // Waits at most `wait` for the writing to end; true once it has.
    bool waitForEnd(std::chrono::milliseconds wait);

    // The list rows written so far (the sheet's header row included).
    int rowsWritten() const { return m_rowsWritten.load(std::memory_order_relaxed); }
    bool ended() const;
    // Whether the file was assembled complete; meaningful once ended.
    bool written() const;

private:
    void run();
    // The next block to write, or false once there is none to come (finished or stopped).
    bool take(DetailRowBlock &block);
    void end(bool written);

    const QByteArray m_path;
    const QByteArray m_tempDir;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<DetailRowBlock> m_queue;
    bool m_finished = false;
    bool m_stopped = false;
    bool m_ended = false;
    bool m_written = false;
    std::atomic<int> m_rowsWritten{0};

    std::thread m_thread; // last: started once everything it uses is in place
};

} // namespace fenlark
