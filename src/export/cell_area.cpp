#include "export/cell_area.h"

#include <algorithm>

namespace fenlark {

std::optional<CellPosition> parseCellName(const QString &name)
{
    qsizetype i = 0;
    qint64 column = 0;
    for (; i < name.size(); ++i) {
        const char16_t c = name.at(i).toUpper().unicode();
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c - u'A' + 1);
        if (column > kSheetColumnCount)
            return std::nullopt;
    }
    if (column == 0 || i == name.size() || name.at(i) == u'0')
        return std::nullopt;
    qint64 row = 0;
    for (; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        row = row * 10 + (c - u'0');
        if (row > kSheetRowCount)
            return std::nullopt;
    }
    return CellPosition{int(row - 1), int(column - 1)};
}

std::optional<CellArea> parseCellArea(const QString &first, const QString &last)
{
    const auto a = parseCellName(first);
    const auto b = parseCellName(last);
    if (!a || !b)
        return std::nullopt;
    return CellArea{std::min(a->row, b->row), std::min(a->column, b->column), std::max(a->row, b->row),
                    std::max(a->column, b->column)};
}

QString columnLetters(int column)
{
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

} // namespace fenlark
