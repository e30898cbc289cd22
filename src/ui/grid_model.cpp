#include "ui/grid_model.h"

#include <QColor>

namespace fenlark {

namespace {

// Listed rows read at a time, and listed rows whose cells are kept: a screen or two of rows, so
// scrolling back and forth reads the store once per block.
constexpr int kReadBlock = 64;
constexpr size_t kCacheRows = 512;

} // namespace

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
    const Cell cell = cellAt(index.row(), index.column());
    const bool isCheck = cell.flags & Cell::Check;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return isCheck ? QVariant() : QVariant(cell.text);
    case Qt::ToolTipRole:
        // A note (a card that fails its checks) says what is wrong; otherwise the cell's text,
        // since columns follow the window's width and a long text (an 18-digit card) can be cut.
        if (!m_notes.empty()) {
            const auto found = m_notes.find({index.row(), index.column()});
            if (found != m_notes.end())
                return found->second;
        }
        return isCheck || cell.text.isEmpty() ? QVariant() : QVariant(cell.text);
    case Qt::CheckStateRole:
        if (!isCheck)
            return {};
        return (cell.flags & Cell::Checked) ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(toQt(static_cast<Alignment>((cell.flags & Cell::AlignMask) >> Cell::AlignShift)));
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

GridModel::Slot GridModel::heldSlot(Row cells)
{
    Slot slot;
    slot.held = std::make_unique<HeldRow>();
    slot.held->cells = std::move(cells);
    m_held.insert(slot.held.get());
    return slot;
}

void GridModel::forgetListed()
{
    m_cache.clear();
    m_cacheOrder.clear();
}

const GridModel::ListedRow &GridModel::listedRow(int row) const
{
    static const ListedRow none;
    const qint64 key = m_rows[static_cast<size_t>(row)].key;
    if (const auto cached = m_cache.find(key); cached != m_cache.end())
        return cached->second;
    if (!m_reader)
        return none;
    // The rows about this one that are listed and not read yet: a view paints a screen of rows,
    // scrolling either way, and the export reads row after row.
    std::vector<qint64> keys;
    const int first = std::max(0, row - kReadBlock / 4);
    const int last = std::min(dataRows(), first + kReadBlock);
    for (int r = first; r < last; ++r) {
        const Slot &slot = m_rows[static_cast<size_t>(r)];
        if (!slot.held && (r == row || !m_cache.count(slot.key)))
            keys.push_back(slot.key);
    }
    std::vector<GridListedRow> read = m_reader->read(keys);
    read.resize(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        ListedRow listed;
        listed.cells.resize(static_cast<size_t>(m_columnCount));
        for (size_t c = 0; c < listed.cells.size() && c < read[i].cells.size(); ++c) {
            const GridCell &given = read[i].cells[c];
            if (given.check)
                listed.cells[c].flags = static_cast<quint8>(Cell::Check | (given.checked ? Cell::Checked : 0));
            else
                listed.cells[c].text = given.text;
        }
        listed.data = std::move(read[i].data);
        if (m_cache.insert_or_assign(keys[i], std::move(listed)).second)
            m_cacheOrder.push_back(keys[i]);
    }
    while (m_cache.size() > kCacheRows && !m_cacheOrder.empty()) {
        if (m_cacheOrder.front() != key)
            m_cache.erase(m_cacheOrder.front());
        else
            m_cacheOrder.push_back(key);
        m_cacheOrder.pop_front();
    }
    const auto cached = m_cache.find(key);
    return cached != m_cache.end() ? cached->second : none;
}

std::vector<GridListedRow> GridModel::readRows(int first, int count) const
{
    first = std::max(0, first);
    const int last = static_cast<int>(std::min<qint64>(dataRows(), qint64(first) + std::max(0, count)));
    std::vector<GridListedRow> rows(static_cast<size_t>(std::max(0, last - first)));
    std::vector<qint64> keys;
    std::vector<size_t> at;
    for (int r = first; r < last; ++r) {
        const Slot &slot = m_rows[static_cast<size_t>(r)];
        if (!slot.held && !m_cache.count(slot.key)) {
            keys.push_back(slot.key);
            at.push_back(static_cast<size_t>(r - first));
        }
    }
    if (!keys.empty() && m_reader) {
        std::vector<GridListedRow> read = m_reader->read(keys);
        read.resize(keys.size());
        for (size_t i = 0; i < keys.size(); ++i)
            rows[at[i]] = std::move(read[i]);
    }
    const auto given = [](const Cell &cell) {
        return GridCell{cell.text, (cell.flags & Cell::Check) != 0, (cell.flags & Cell::Checked) != 0};
    };
    for (int r = first; r < last; ++r) {
        GridListedRow &row = rows[static_cast<size_t>(r - first)];
        const Slot &slot = m_rows[static_cast<size_t>(r)];
        bool numbered = true;
        if (slot.held) {
            numbered = slot.held->numbered;
            row.cells.clear();
            for (const Cell &cell : slot.held->cells)
                row.cells.push_back(given(cell));
            row.data = slot.held->data;
        } else if (const auto cached = m_cache.find(slot.key); cached != m_cache.end()) {
            row.cells.clear();
            for (const Cell &cell : cached->second.cells)
                row.cells.push_back(given(cell));
            row.data = cached->second.data;
        } else {
            // As listedRow keeps a row read: a check cell has no text.
            for (GridCell &cell : row.cells) {
                if (cell.check)
                    cell.text.clear();
            }
        }
        row.cells.resize(static_cast<size_t>(m_columnCount));
        if (numbered && m_columnCount > 0)
            row.cells[0] = GridCell{QString::number(r + 1), false, false};
    }
    return rows;
}

GridModel::Cell GridModel::cellAt(int row, int column) const
{
    const Slot &slot = m_rows[static_cast<size_t>(row)];
    const bool numbered = slot.held ? slot.held->numbered : true;
    if (column == 0 && numbered) {
        Cell number;
        if (slot.held)
            number.flags = slot.held->cells[0].flags & Cell::AlignMask;
        number.text = QString::number(row + 1);
        return number;
    }
    if (slot.held)
        return slot.held->cells[static_cast<size_t>(column)];
    const Row &cells = listedRow(row).cells;
    return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : Cell{};
}

GridModel::HeldRow &GridModel::heldRow(int row)
{
    Slot &slot = m_rows[static_cast<size_t>(row)];
    if (!slot.held) {
        // Held from now on with the cells it shows, its number written as text like any other.
        Row cells(static_cast<size_t>(m_columnCount));
        for (int c = 0; c < m_columnCount; ++c)
            cells[static_cast<size_t>(c)] = cellAt(row, c);
        QVariant data = listedRow(row).data;
        slot = heldSlot(std::move(cells));
        slot.held->data = std::move(data);
    }
    return *slot.held;
}

GridModel::Cell &GridModel::writableCell(int row, int column)
{
    return heldRow(row).cells[static_cast<size_t>(column)];
}

void GridModel::setRowData(int row, const QVariant &value)
{
    if (row >= 0 && row < dataRows())
        heldRow(row).data = value;
}

QVariant GridModel::rowData(int row) const
{
    if (row < 0 || row >= dataRows())
        return {};
    const Slot &slot = m_rows[static_cast<size_t>(row)];
    return slot.held ? slot.held->data : listedRow(row).data;
}

void GridModel::setListedRows(std::vector<qint64> keys, std::shared_ptr<GridRowReader> reader)
{
    const bool notify = !inBulk();
    if (notify)
        beginResetModel();
    m_rows.clear();
    m_held.clear();
    m_notes.clear();
    forgetListed();
    m_reader = std::move(reader);
    for (const qint64 key : keys)
        m_rows.push_back(Slot{key, nullptr});
    if (notify)
        endResetModel();
}

void GridModel::renumber()
{
    for (HeldRow *row : m_held) {
        row->numbered = true;
        if (!row->cells.empty())
            row->cells[0].flags &= static_cast<quint8>(~(Cell::Check | Cell::Checked));
    }
    if (!inBulk() && !m_rows.empty() && m_columnCount > 0)
        Q_EMIT dataChanged(index(0, 0), index(dataRows() - 1, 0));
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
    for (HeldRow *row : m_held) {
        row->cells.resize(static_cast<size_t>(count));
        for (int c = old; c < count; ++c)
            row->cells[static_cast<size_t>(c)] = Cell{};
    }
    forgetListed();
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
    m_rows.insert(m_rows.begin() + at, heldSlot(emptyRow()));
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
    if (const Slot &slot = m_rows[static_cast<size_t>(row)]; slot.held)
        m_held.erase(slot.held.get());
    m_rows.erase(m_rows.begin() + row);
    m_notes.clear();
    if (notify)
        endRemoveRows();
    return true;
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
    Cell &cell = writableCell(row, column);
    if (column == 0)
        m_rows[static_cast<size_t>(row)].held->numbered = false;
    cell.text = text;
    cell.flags &= static_cast<quint8>(~(Cell::Check | Cell::Checked));
    cellChanged(row, column);
}

void GridModel::setChecked(int row, int column, bool checked)
{
    Cell &cell = writableCell(row, column);
    if (column == 0)
        m_rows[static_cast<size_t>(row)].held->numbered = false;
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
    return cellAt(row, column).flags & Cell::Check;
}

QString GridModel::text(int row, int column) const
{
    return cellAt(row, column).text;
}

bool GridModel::checked(int row, int column) const
{
    return cellAt(row, column).flags & Cell::Checked;
}

void GridModel::setAlignment(int row, int column, Alignment alignment)
{
    Cell &cell = writableCell(row, column);
    cell.flags = static_cast<quint8>((cell.flags & ~Cell::AlignMask) | (alignment << Cell::AlignShift));
    cellChanged(row, column);
}

GridModel::Alignment GridModel::alignment(int row, int column) const
{
    const quint8 flags = cellAt(row, column).flags;
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
    for (HeldRow *row : m_held) {
        Cell &cell = row->cells[static_cast<size_t>(column)];
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
