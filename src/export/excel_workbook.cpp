#include "export/excel_workbook.h"

#include "export/excel_application.h"
#include "export/sheet_document.h"

#include <xlsxwriter.h>

namespace fenlark {

namespace {

std::optional<std::uint8_t> toLxwAlignment(int alignment)
{
    switch (alignment) {
    case xl::HAlignGeneral:
        return LXW_ALIGN_NONE;
    case xl::HAlignLeft:
        return LXW_ALIGN_LEFT;
    case xl::HAlignCenter:
        return LXW_ALIGN_CENTER;
    case xl::HAlignRight:
        return LXW_ALIGN_RIGHT;
    default:
        return std::nullopt;
    }
}

std::optional<std::uint8_t> toLxwBorder(int lineStyle, int weight)
{
    const bool medium = weight == xl::Medium || weight == xl::Thick;
    switch (lineStyle) {
    case xl::LineStyleNone:
        return LXW_BORDER_NONE;
    case xl::Continuous:
        switch (weight) {
        case xl::Hairline:
            return LXW_BORDER_HAIR;
        case xl::Thin:
            return LXW_BORDER_THIN;
        case xl::Medium:
            return LXW_BORDER_MEDIUM;
        case xl::Thick:
            return LXW_BORDER_THICK;
        }
        return std::nullopt;
    case xl::Dash:
        return medium ? LXW_BORDER_MEDIUM_DASHED : LXW_BORDER_DASHED;
    case xl::Dot:
        return LXW_BORDER_DOTTED;
    case xl::Double:
        return LXW_BORDER_DOUBLE;
    default:
        return std::nullopt;
    }
}

// Excel gives colours as 0xBBGGRR; libxlsxwriter takes 0xRRGGBB and reads 0 as "not set", so
// black has its own value.
std::uint32_t toLxwColor(int bgr)
{
    const auto value = std::uint32_t(bgr) & 0xFFFFFFu;
    const std::uint32_t rgb = ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
    return rgb == 0 ? std::uint32_t(LXW_COLOR_BLACK) : rgb;
}

} // namespace

ExcelWorkbook::ExcelWorkbook() = default;
ExcelWorkbook::~ExcelWorkbook() = default;

bool ExcelWorkbook::newWorkbook(ExcelApplication &app)
{
    release();
    m_document = app.addWorkbook();
    return m_document != nullptr;
}

SheetDocument *ExcelWorkbook::target() const
{
    return m_document && m_range ? m_document.get() : nullptr;
}

bool ExcelWorkbook::setRange(const QString &firstCell, const QString &lastCell)
{
    if (!m_document)
        return false;
    const auto area = parseCellArea(firstCell, lastCell);
    if (!area)
        return false;
    m_range = area;
    return true;
}

bool ExcelWorkbook::merge()
{
    SheetDocument *doc = target();
    return doc && doc->merge(*m_range);
}

bool ExcelWorkbook::setValue(const QString &text)
{
    SheetDocument *doc = target();
    return doc && doc->setValue(*m_range, text);
}

bool ExcelWorkbook::setNumber(double number)
{
    SheetDocument *doc = target();
    return doc && doc->setNumber(*m_range, number);
}

bool ExcelWorkbook::addChart(const SheetChart &chart)
{
    return m_document && m_document->addChart(chart);
}

bool ExcelWorkbook::setSheetName(const QString &name)
{
    return m_document && m_document->setSheetName(name);
}

bool ExcelWorkbook::setFontSize(double size)
{
    SheetDocument *doc = target();
    return doc && doc->setFontSize(*m_range, size);
}

bool ExcelWorkbook::setHorizontalAlignment(int alignment)
{
    SheetDocument *doc = target();
    const auto lxw = toLxwAlignment(alignment);
    return doc && lxw && doc->setHorizontalAlignment(*m_range, *lxw);
}

bool ExcelWorkbook::setColumnWidth(double width)
{
    SheetDocument *doc = target();
    return doc && doc->setColumnWidth(*m_range, width);
}

bool ExcelWorkbook::borderAround(int lineStyle, int weight, std::optional<int> /*colorIndex*/, std::optional<int> color)
{
    SheetDocument *doc = target();
    const auto style = toLxwBorder(lineStyle, weight);
    if (!doc || !style)
        return false;
    BorderEdge edge{*style, 0};
    if (*style != LXW_BORDER_NONE && color)
        edge.color = toLxwColor(*color);
    return doc->borderAround(*m_range, edge);
}

void ExcelWorkbook::release()
{
    m_document.reset();
    m_range.reset();
}

} // namespace fenlark
