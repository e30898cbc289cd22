#include "ui/grid_model.h"

#include <QColor>

namespace fenlark {

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : dataRows();
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

Qt::Alignment GridModel::toQt(Alignment alignment)
{
    switch (alignment) {
    case AlignRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case AlignCentre:
        return Qt::AlignCenter;
    case AlignLeft:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= dataRows() || index.column() >= m_columnCount)
        return {};
    const Cell &cell = m_rows[static_cast<size_t>(index.row())][static_cast<size_t>(index.column())];
    const bool isCheck = cell.flags & Cell::Check;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return isCheck ? QVariant() : QVariant(cell.text);
    case Qt::CheckStateRole:
        if (!isCheck)
            return {};
        return (cell.flags & Cell::Checked) ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(toQt(alignment(index.row(), index.column())));
    case Qt::ToolTipRole:
        // A note (a card that fails its checks) says what is wrong; otherwise the cell's text,
        // since columns follow the window's width and a long text (an 18-digit card) can be cut.
        if (!m_notes.empty()) {
            const auto found = m_notes.find({index.row(), index.column()});
            if (found != m_notes.end())
                return found->second;
        }
        return isCheck || cell.text.isEmpty() ? QVariant() : QVariant(cell.text);
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        if (m_notes.empty())
            return {};
        const auto found = m_notes.find({index.row(), index.column()});
        if (found == m_notes.end())
            return {};
        return role == Qt::BackgroundRole ? QColor(255, 224, 224) : QColor(176, 0, 0);
    }
    default:
        return {};
    }
}

void GridModel::setNote(int row, int column, const QString &note)
{
    if (row < 0 || row >= dataRows() || column < 0 || column >= m_columnCount)
        return;
    if (note.isEmpty()) {
        if (m_notes.erase({row, column}) == 0)
            return;
    } else {
        m_notes[{row, column}] = note;
    }
    cellChanged(row, column);
}

QString GridModel::note(int row, int column) const
{
    const auto found = m_notes.find({row, column});
    return found == m_notes.end() ? QString() : found->second;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= dataRows() || index.column() >= m_columnCount)
        return false;
    const int row = index.row();
    const int column = index.column();
    if (isCheckCell(row, column)) {
        if (role != Qt::CheckStateRole)
            return false;
        setChecked(row, column, value.toInt() == Qt::Checked);
    } else {
        if (role != Qt::EditRole)
            return false;
        setText(row, column, value.toString());
    }
    Q_EMIT userEdited(row, column);
    return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section + 1;
        return {};
    }
    if (section < 0 || section >= m_columnCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_headers.at(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(toQt(headerAlignment(section)));
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_userEditable && index.row() < dataRows() && index.column() < m_columnCount)
        result |= isCheckCell(index.row(), index.column()) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return result;
}

GridModel::Row GridModel::emptyRow() const
{
    Row row(static_cast<size_t>(m_columnCount));
    for (int c = 0; c < m_columnCount; ++c) {
        if (m_checkColumns[static_cast<size_t>(c)])
            row[static_cast<size_t>(c)].flags = Cell::Check;
    }
    return row;
}

void GridModel::setColumns(int count)
{
    count = std::max(0, count);
    if (count == m_columnCount)
        return;
    const bool notify = !inBulk();
    if (notify)
        beginResetModel();
    const int old = m_columnCount;
    m_columnCount = count;
    m_headers.resize(count);
    m_headerAlignment.resize(static_cast<size_t>(count), AlignLeft);
    m_checkColumns.resize(static_cast<size_t>(count), false);
    m_columnLists.resize(static_cast<size_t>(count));
    for (Row &row : m_rows) {
        row.resize(static_cast<size_t>(count));
        for (int c = old; c < count; ++c)
            row[static_cast<size_t>(c)] = Cell{};
    }
    if (notify)
        endResetModel();
}

void GridModel::insertDataRow(int before)
{
    const int count = dataRows();
    const int at = (before >= 0 && before < count) ? before : count;
    const bool notify = !inBulk();
    if (notify)
        beginInsertRows(QModelIndex(), at, at);
    m_rows.insert(m_rows.begin() + at, emptyRow());
    m_rowData.insert(m_rowData.begin() + at, QVariant());
    m_notes.clear();
    if (notify)
        endInsertRows();
}

bool GridModel::removeDataRow(int row)
{
    if (row < 0 || row >= dataRows())
        return false;
    const bool notify = !inBulk();
    if (notify)
        beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    m_rowData.erase(m_rowData.begin() + row);
    m_notes.clear();
    if (notify)
        endRemoveRows();
    return true;
}

void GridModel::setRowData(int row, const QVariant &value)
{
    if (row >= 0 && row < dataRows())
        m_rowData[static_cast<size_t>(row)] = value;
}

QVariant GridModel::rowData(int row) const
{
    return row >= 0 && row < dataRows() ? m_rowData[static_cast<size_t>(row)] : QVariant();
}

void GridModel::cellChanged(int row, int column)
{
    if (inBulk())
        return;
    const QModelIndex at = index(row, column);
    Q_EMIT dataChanged(at, at);
}

void GridModel::setText(int row, int column, const QString &text)
{
    Cell &cell = m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
    cell.text = text;
    cell.flags &= static_cast<quint8>(~(Cell::Check | Cell::Checked));
    cellChanged(row, column);
}

void GridModel::setChecked(int row, int column, bool checked)
{
    Cell &cell = m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
    cell.text.clear();
    cell.flags |= Cell::Check;
    if (checked)
        cell.flags |= Cell::Checked;
    else
        cell.flags &= static_cast<quint8>(~Cell::Checked);
    cellChanged(row, column);
}

bool GridModel::isCheckCell(int row, int column) const
{
    return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)].flags & Cell::Check;
}

QString GridModel::text(int row, int column) const
{
    return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)].text;
}

bool GridModel::checked(int row, int column) const
{
    return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)].flags & Cell::Checked;
}

void GridModel::setAlignment(int row, int column, Alignment alignment)
{
    Cell &cell = m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
    cell.flags = static_cast<quint8>((cell.flags & ~Cell::AlignMask) | (alignment << Cell::AlignShift));
    cellChanged(row, column);
}

GridModel::Alignment GridModel::alignment(int row, int column) const
{
    const quint8 flags = m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)].flags;
    return static_cast<Alignment>((flags & Cell::AlignMask) >> Cell::AlignShift);
}

void GridModel::setHeaderText(int column, const QString &text)
{
    m_headers[column] = text;
    if (!inBulk())
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

QString GridModel::headerText(int column) const
{
    return m_headers.at(column);
}

void GridModel::setHeaderAlignment(int column, Alignment alignment)
{
    m_headerAlignment[static_cast<size_t>(column)] = alignment;
    if (!inBulk())
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

GridModel::Alignment GridModel::headerAlignment(int column) const
{
    return static_cast<Alignment>(m_headerAlignment[static_cast<size_t>(column)]);
}

void GridModel::setCheckColumn(int column, bool on)
{
    m_checkColumns[static_cast<size_t>(column)] = on;
    for (Row &row : m_rows) {
        Cell &cell = row[static_cast<size_t>(column)];
        cell.text.clear();
        cell.flags &= static_cast<quint8>(~(Cell::Check | Cell::Checked));
        if (on)
            cell.flags |= Cell::Check;
    }
    if (!inBulk() && !m_rows.empty())
        Q_EMIT dataChanged(index(0, column), index(dataRows() - 1, column));
}

bool GridModel::isCheckColumn(int column) const
{
    return m_checkColumns[static_cast<size_t>(column)];
}

void GridModel::setColumnList(int column, const QStringList &items)
{
    m_columnLists[static_cast<size_t>(column)] = items;
}

QStringList GridModel::columnList(int column) const
{
    return m_columnLists[static_cast<size_t>(column)];
}

void GridModel::beginBulk()
{
    if (m_bulkDepth++ == 0)
        beginResetModel();
}

void GridModel::endBulk()
{
    if (m_bulkDepth == 0)
        return;
    if (--m_bulkDepth == 0)
        endResetModel();
}

} // namespace fenlark
