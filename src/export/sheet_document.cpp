#include "export/sheet_document.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>

namespace fenlark {

namespace {

// Excel's widest column, in characters of the standard font.
constexpr double kMaxColumnWidth = 255;

// The workbook's standard font (libxlsxwriter's Calibri 11) fits Excel's standard 15-point row.
constexpr double kStandardFontSize = 11;

// One libxlsxwriter format per distinct style, made the first time a cell needs it.
class FormatCache {
public:
    explicit FormatCache(lxw_workbook *book) : m_book(book) {}

    lxw_format *formatFor(const CellStyle &style)
    {
        if (style.isDefault())
            return nullptr;
        auto [it, inserted] = m_formats.try_emplace(style, nullptr);
        if (inserted)
            it->second = make(style);
        return it->second;
    }

private:
    lxw_format *make(const CellStyle &style) const
    {
        lxw_format *format = workbook_add_format(m_book);
        if (!format)
            return nullptr;
        if (style.fontSize > 0)
            format_set_font_size(format, style.fontSize);
        if (style.horizontalAlignment != LXW_ALIGN_NONE)
            format_set_align(format, style.horizontalAlignment);
        if (style.left.style != LXW_BORDER_NONE) {
            format_set_left(format, style.left.style);
            format_set_left_color(format, style.left.color);
        }
        if (style.right.style != LXW_BORDER_NONE) {
            format_set_right(format, style.right.style);
            format_set_right_color(format, style.right.color);
        }
        if (style.top.style != LXW_BORDER_NONE) {
            format_set_top(format, style.top.style);
            format_set_top_color(format, style.top.color);
        }
        if (style.bottom.style != LXW_BORDER_NONE) {
            format_set_bottom(format, style.bottom.style);
            format_set_bottom_color(format, style.bottom.color);
        }
        return format;
    }

    lxw_workbook *m_book;
    std::map<CellStyle, lxw_format *> m_formats;
};

bool isValidSheetName(const QString &name)
{
    if (name.isEmpty() || name.size() > 31)
        return false;
    if (name.startsWith(u'\'') || name.endsWith(u'\''))
        return false;
    static const QString forbidden = QStringLiteral(":\\/?*[]");
    return std::none_of(name.begin(), name.end(), [](QChar c) { return forbidden.contains(c); });
}

// An absolute reference to area of the sheet, as a chart's formula takes it: ='统计'!$A$4:$A$7.
// The name is always quoted, so names of any characters need no rules of their own.
QByteArray formula(const QString &sheetName, const CellArea &area)
{
    const auto cell = [](int row, int column) -> QString {
        return QStringLiteral("$") + columnLetters(column) + QStringLiteral("$") + QString::number(row + 1);
    };
    QString text = QStringLiteral("='") + QString(sheetName).replace(u'\'', QStringLiteral("''")) +
                   QStringLiteral("'!") + cell(area.firstRow, area.firstColumn);
    if (!area.isSingleCell())
        text += u':' + cell(area.lastRow, area.lastColumn);
    return text.toUtf8();
}

bool insertChart(lxw_workbook *book, lxw_worksheet *sheet, const QString &sheetName, const SheetChart &wanted)
{
    const bool pie = wanted.kind == SheetChart::Kind::Pie;
    lxw_chart *chart = workbook_add_chart(book, pie ? LXW_CHART_PIE : LXW_CHART_COLUMN);
    if (!chart)
        return false;
    const QByteArray title = wanted.title.toUtf8();
    chart_title_set_name(chart, title.constData());
    const QByteArray categories = formula(sheetName, wanted.categories);
    for (const SheetChart::Series &s : wanted.series) {
        const QByteArray values = formula(sheetName, s.values);
        lxw_chart_series *series = chart_add_series(chart, categories.constData(), values.constData());
        if (!series)
            return false;
        if (s.name)
            chart_series_set_name(
                series, formula(sheetName, {s.name->row, s.name->column, s.name->row, s.name->column}).constData());
        if (pie) {
            chart_series_set_labels(series);
            chart_series_set_labels_percentage(series);
        }
    }
    return worksheet_insert_chart(sheet, lxw_row_t(wanted.place.row), lxw_col_t(wanted.place.column), chart) ==
           LXW_NO_ERROR;
}

} // namespace

double rowHeightForFontSize(double fontSize)
{
    return std::ceil(fontSize * 1.4 / 0.75) * 0.75;
}

bool SheetDocument::setSheetName(const QString &name)
{
    if (!isValidSheetName(name))
        return false;
    m_sheetName = name;
    return true;
}

SheetDocument::Cell &SheetDocument::cell(int row, int column)
{
    Row &cells = m_rows[row];
    if (cells.size() <= std::size_t(column))
        cells.resize(std::size_t(column) + 1);
    return cells[std::size_t(column)];
}

const SheetDocument::Cell *SheetDocument::findCell(int row, int column) const
{
    const auto it = m_rows.find(row);
    if (it == m_rows.end() || it->second.size() <= std::size_t(column))
        return nullptr;
    return &it->second[std::size_t(column)];
}

template <typename Change> bool SheetDocument::forEachCell(const CellArea &area, Change change)
{
    if (area.cellCount() > kMaxCellsPerCall)
        return false;
    for (int row = area.firstRow; row <= area.lastRow; ++row)
        for (int column = area.firstColumn; column <= area.lastColumn; ++column)
            change(row, column, cell(row, column));
    return true;
}

bool SheetDocument::setValue(const CellArea &area, const QString &text)
{
    return forEachCell(area, [&](int, int, Cell &c) {
        c.value = text;
        c.number.reset();
    });
}

bool SheetDocument::setNumber(const CellArea &area, double number)
{
    if (!std::isfinite(number))
        return false;
    return forEachCell(area, [&](int, int, Cell &c) {
        c.value = QString::number(number, 'g', 15);
        c.number = number;
    });
}

bool SheetDocument::isNumber(int row, int column) const
{
    const Cell *c = findCell(row, column);
    return c && c->number;
}

bool SheetDocument::addChart(const SheetChart &chart)
{
    const auto inSheet = [](const CellArea &a) {
        return a.firstRow >= 0 && a.firstColumn >= 0 && a.firstRow <= a.lastRow && a.firstColumn <= a.lastColumn &&
               a.lastRow < kSheetRowCount && a.lastColumn < kSheetColumnCount;
    };
    if (chart.series.empty() || (chart.kind == SheetChart::Kind::Pie && chart.series.size() != 1) ||
        !inSheet(chart.categories) ||
        !inSheet({chart.place.row, chart.place.column, chart.place.row, chart.place.column}))
        return false;
    for (const SheetChart::Series &series : chart.series) {
        if (!inSheet(series.values) ||
            (series.name && !inSheet({series.name->row, series.name->column, series.name->row, series.name->column})))
            return false;
    }
    m_charts.push_back(chart);
    return true;
}

bool SheetDocument::setFontSize(const CellArea &area, double size)
{
    if (!(size >= 1 && size <= 409))
        return false;
    return forEachCell(area, [&](int, int, Cell &c) { c.style.fontSize = size; });
}

bool SheetDocument::setHorizontalAlignment(const CellArea &area, std::uint8_t alignment)
{
    return forEachCell(area, [&](int, int, Cell &c) { c.style.horizontalAlignment = alignment; });
}

bool SheetDocument::borderAround(const CellArea &area, BorderEdge edge)
{
    return forEachCell(area, [&](int row, int column, Cell &c) {
        if (row == area.firstRow)
            c.style.top = edge;
        if (row == area.lastRow)
            c.style.bottom = edge;
        if (column == area.firstColumn)
            c.style.left = edge;
        if (column == area.lastColumn)
            c.style.right = edge;
    });
}

bool SheetDocument::merge(const CellArea &area)
{
    if (area.isSingleCell())
        return true;
    if (area.cellCount() > kMaxCellsPerCall)
        return false;
    std::erase_if(m_merges, [&](const CellArea &m) { return m.intersects(area); });
    // Only the top-left value survives a merge, as in Excel.
    forEachCell(area, [&](int row, int column, Cell &c) {
        if (row != area.firstRow || column != area.firstColumn)
            c.value.clear();
    });
    m_merges.push_back(area);
    return true;
}

bool SheetDocument::setColumnWidth(const CellArea &area, double width)
{
    if (!(width >= 0 && width <= kMaxColumnWidth))
        return false;
    for (int column = area.firstColumn; column <= area.lastColumn; ++column)
        m_columnWidths[column] = width;
    return true;
}

QString SheetDocument::value(int row, int column) const
{
    const Cell *c = findCell(row, column);
    return c ? c->value : QString();
}

CellStyle SheetDocument::style(int row, int column) const
{
    const Cell *c = findCell(row, column);
    return c ? c->style : CellStyle{};
}

bool SheetDocument::save(const QString &path) const
{
    const QByteArray fileName = QFile::encodeName(path);
    // libxlsxwriter stages the parts of the file in temporary files; keep them where the user's
    // temporary files go rather than in a hard-wired /tmp.
    QByteArray tempDir = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options{};
    options.tmpdir = tempDir.data();
    lxw_workbook *book = workbook_new_opt(fileName.constData(), &options);
    if (!book)
        return false;

    bool ok = false;
    // Every write is checked: a cell libxlsxwriter refuses (a text beyond a sheet's limit, say)
    // would otherwise be missing from a file that looks complete.
    const auto check = [&ok](lxw_error result) {
        if (result != LXW_NO_ERROR)
            ok = false;
    };
    if (lxw_worksheet *sheet = workbook_add_worksheet(book, m_sheetName.toUtf8().constData())) {
        ok = true;
        FormatCache formats(book);
        for (const auto &[column, width] : m_columnWidths)
            check(worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column), width, nullptr));
        // The file keeps a row's height as given, and spreadsheet programs do not grow a row for
        // a larger font when they open it, so a row with a large font gets its height here.
        for (const auto &[row, cells] : m_rows) {
            double largest = 0;
            for (const Cell &c : cells)
                largest = std::max(largest, c.style.fontSize);
            if (largest > kStandardFontSize)
                check(worksheet_set_row(sheet, lxw_row_t(row), rowHeightForFontSize(largest), nullptr));
        }

        const auto inMerge = [this](int row, int column) {
            return std::any_of(m_merges.begin(), m_merges.end(),
                               [&](const CellArea &m) { return m.contains(row, column); });
        };
        for (const auto &[row, cells] : m_rows) {
            for (std::size_t column = 0; column < cells.size(); ++column) {
                const Cell &c = cells[column];
                if (!m_merges.empty() && inMerge(row, int(column)))
                    continue;
                lxw_format *format = formats.formatFor(c.style);
                // Always text: a long digit string such as an identity-card number must arrive
                // as typed, not as a number rounded to 15 significant digits.
                if (c.number)
                    check(worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(column), *c.number, format));
                else if (!c.value.isEmpty())
                    check(worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), c.value.toUtf8().constData(),
                                                 format));
                else if (format)
                    check(worksheet_write_blank(sheet, lxw_row_t(row), lxw_col_t(column), format));
            }
        }
        for (const CellArea &m : m_merges) {
            const CellStyle corner = style(m.firstRow, m.firstColumn);
            check(worksheet_merge_range(sheet, lxw_row_t(m.firstRow), lxw_col_t(m.firstColumn), lxw_row_t(m.lastRow),
                                        lxw_col_t(m.lastColumn), value(m.firstRow, m.firstColumn).toUtf8().constData(),
                                        formats.formatFor(corner)));
            // The merge gives every cell the corner's format; cells with a style of their own
            // (a border drawn around the merged area) keep it.
            for (int row = m.firstRow; row <= m.lastRow; ++row) {
                for (int column = m.firstColumn; column <= m.lastColumn; ++column) {
                    const CellStyle own = style(row, column);
                    if ((row != m.firstRow || column != m.firstColumn) && !own.isDefault() && own != corner)
                        check(worksheet_write_blank(sheet, lxw_row_t(row), lxw_col_t(column), formats.formatFor(own)));
                }
            }
        }
        for (const SheetChart &chart : m_charts)
            ok = ok && insertChart(book, sheet, m_sheetName, chart);
    }
    if (workbook_close(book) != LXW_NO_ERROR)
        ok = false;
    if (!ok)
        QFile::remove(path);
    return ok;
}

} // namespace fenlark
