#include "printing/table_print.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace fenlark {

namespace {

// Sizes on paper, in millimetres and points.
constexpr double kRowHeightMm = 7.0;
constexpr double kTitleHeightMm = 14.0;
constexpr double kSubtitleHeightMm = 7.0;
constexpr double kFooterHeightMm = 8.0;
constexpr double kCellPaddingMm = 1.0;
constexpr double kTitlePoints = 20.0;
constexpr double kCellPoints = 9.0;
constexpr double kSmallestPoints = 5.0;

// The fonts of the screen, so Chinese, and characters only a few fonts have, print with the
// glyphs the clerk saw; Qt falls back per character to an installed font that has it.
QFont printFont(double points, bool bold = false)
{
    QFont font = QGuiApplication::font();
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace

TablePagination paginateTable(int rowCount, bool withSubtitle, double pageHeightMm)
{
    TablePagination result;
    const double body = pageHeightMm - kFooterHeightMm;
    const double heading = kTitleHeightMm + (withSubtitle ? kSubtitleHeightMm : 0.0);
    // Every page holds the header row and at least one data row, however small the paper.
    result.rowsOnFirstPage = std::max(1, int(std::floor((body - heading) / kRowHeightMm)) - 1);
    result.rowsPerPage = std::max(1, int(std::floor(body / kRowHeightMm)) - 1);
    const int rest = std::max(0, rowCount - result.rowsOnFirstPage);
    result.pageCount = 1 + (rest + result.rowsPerPage - 1) / result.rowsPerPage;
    return result;
}

bool paintTable(QPrinter &printer, const PrintTable &table)
{
    const QRectF page = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    const TablePagination pages = paginateTable(int(table.rows.size()), !table.subtitle.isEmpty(), page.height());

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Sizes are worked out in millimetres and drawn in the printer's dots; fonts keep their
    // point sizes, which the printer resolves itself.
    const double dotsPerMm = printer.resolution() / 25.4;
    const auto mm = [dotsPerMm](double x, double y, double w, double h) {
        return QRectF(x * dotsPerMm, y * dotsPerMm, w * dotsPerMm, h * dotsPerMm);
    };
    QPen pen(Qt::black);
    pen.setWidthF(0.2 * dotsPerMm);
    painter.setPen(pen);

    double totalWidth = 0;
    for (const PrintColumn &column : table.columns)
        totalWidth += std::max(0.0, column.width);
    if (totalWidth <= 0)
        totalWidth = 1;
    std::vector<double> widths;
    for (const PrintColumn &column : table.columns)
        widths.push_back(page.width() * std::max(0.0, column.width) / totalWidth);

    const QFont cellFont = printFont(kCellPoints);
    const auto drawRow = [&](double top, const auto &textOf) {
        double left = 0;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const QRectF cell = mm(left, top, widths[c], kRowHeightMm);
            painter.drawRect(cell);
            const QRectF inner = cell.adjusted(kCellPaddingMm * dotsPerMm, 0, -kCellPaddingMm * dotsPerMm, 0);
            const QString full = textOf(int(c));
            // A text wider than its cell is set smaller rather than cut, so a card number or a
            // time prints whole; only below the smallest legible size is it cut with "…".
            QFont font = cellFont;
            const double natural = QFontMetricsF(font, painter.device()).horizontalAdvance(full);
            if (natural > inner.width())
                font.setPointSizeF(std::max(kSmallestPoints, kCellPoints * inner.width() / natural * 0.98));
            painter.setFont(font);
            const QString text = painter.fontMetrics().elidedText(full, Qt::ElideRight, int(inner.width()));
            painter.drawText(inner, Qt::AlignCenter, text);
            left += widths[c];
        }
    };
    const auto drawHeader = [&](double top) {
        drawRow(top, [&](int c) { return table.columns[std::size_t(c)].header; });
    };

    std::size_t next = 0;
    for (int p = 0; p < pages.pageCount; ++p) {
        if (p > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        double top = 0;
        int capacity = pages.rowsPerPage;
        if (p == 0) {
            painter.setFont(printFont(kTitlePoints));
            painter.drawText(mm(0, 0, page.width(), kTitleHeightMm), Qt::AlignCenter, table.title);
            top = kTitleHeightMm;
            if (!table.subtitle.isEmpty()) {
                painter.setFont(printFont(kCellPoints));
                painter.drawText(mm(0, top, page.width(), kSubtitleHeightMm), Qt::AlignLeft | Qt::AlignVCenter,
                                 table.subtitle);
                top += kSubtitleHeightMm;
            }
            capacity = pages.rowsOnFirstPage;
        }
        drawHeader(top);
        top += kRowHeightMm;
        for (int r = 0; r < capacity && next < table.rows.size(); ++r, ++next) {
            const QStringList &row = table.rows[next];
            drawRow(top, [&](int c) { return row.value(c); });
            top += kRowHeightMm;
        }
        painter.setFont(printFont(kCellPoints));
        painter.drawText(mm(0, page.height() - kFooterHeightMm, page.width(), kFooterHeightMm), Qt::AlignCenter,
                         QStringLiteral("第 %1 页，共 %2 页").arg(p + 1).arg(pages.pageCount));
    }
    return painter.end();
}

} // namespace fenlark
