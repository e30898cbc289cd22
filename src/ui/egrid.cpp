#include "ui/egrid.h"

#include "ui/grid_delegate.h"
#include "ui/grid_model.h"

#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>

namespace fenlark {

namespace {

constexpr int kDefaultRowHeight = 24;

// Kind 1 text of a value; false when the value is not one a text cell takes.
bool textOf(const QVariant &value, QString &text)
{
    switch (value.metaType().id()) {
    case QMetaType::QString:
        text = value.toString();
        return true;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
        text = QString::number(value.toLongLong());
        return true;
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        text = QString::number(value.toULongLong());
        return true;
    case QMetaType::Float:
        text = QString::asprintf("%.6g", static_cast<double>(value.toFloat()));
        return true;
    case QMetaType::Double:
        text = QString::asprintf("%.13g", value.toDouble());
        return true;
    default:
        return false;
    }
}

} // namespace

EGrid::EGrid(QWidget *parent) : QTableView(parent), m_model(new GridModel(this))
{
    setModel(m_model);
    setItemDelegate(new GridDelegate(m_model, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    setUniformRowHeight(kDefaultRowHeight);
    connect(m_model, &GridModel::userEdited, this, [this](int row, int column) { Q_EMIT editEnded(row + 1, column); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { Q_EMIT cellDoubleClicked(index.row() + 1, index.column()); });
    updateEditTriggers();
}

EGrid::~EGrid() = default;

bool EGrid::hasCell(int row, int column) const
{
    return row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
}

void EGrid::setColumnCount(int count)
{
    m_model->setColumns(count);
    m_editorKinds.resize(static_cast<size_t>(m_model->columns()), TextEditor);
}

int EGrid::columnCount() const
{
    return m_model->columns();
}

int EGrid::rowCount() const
{
    return m_model->dataRows() + 1;
}

void EGrid::setDefaultColumnWidth(int width)
{
    horizontalHeader()->setDefaultSectionSize(width);
}

int EGrid::defaultColumnWidth() const
{
    return horizontalHeader()->defaultSectionSize();
}

void EGrid::setUniformRowHeight(int height)
{
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height);
}

int EGrid::uniformRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

bool EGrid::setColumnWidth(int column, int width)
{
    if (column < 0 || column >= columnCount() || width < 0)
        return false;
    QTableView::setColumnWidth(column, width);
    return true;
}

int EGrid::columnWidth(int column) const
{
    if (column < 0 || column >= columnCount())
        return -1;
    return QTableView::columnWidth(column);
}

void EGrid::setCheckColumn(int column, bool on)
{
    if (column >= 0 && column < columnCount())
        m_model->setCheckColumn(column, on);
}

bool EGrid::isCheckColumn(int column) const
{
    return column >= 0 && column < columnCount() && m_model->isCheckColumn(column);
}

void EGrid::setEditable(bool on)
{
    m_model->setUserEditable(on);
    updateEditTriggers();
    viewport()->update();
}

bool EGrid::isEditable() const
{
    return m_model->isUserEditable();
}

void EGrid::updateEditTriggers()
{
    setEditTriggers(isEditable() ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                       QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                                 : QAbstractItemView::NoEditTriggers);
}

void EGrid::setRowSelection(bool on)
{
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

bool EGrid::setCell(int row, int column, int kind, const QVariant &value)
{
    if (!hasCell(row, column))
        return false;
    if (kind == TextCell) {
        QString text;
        if (!textOf(value, text))
            return false;
        if (row == 0)
            m_model->setHeaderText(column, text);
        else
            m_model->setText(row - 1, column, text);
        return true;
    }
    if (kind == CheckCell) {
        if (row == 0 || value.metaType().id() != QMetaType::Bool || !m_model->isCheckColumn(column))
            return false;
        m_model->setChecked(row - 1, column, value.toBool());
        return true;
    }
    return false;
}

QVariant EGrid::cell(int row, int column) const
{
    if (!hasCell(row, column))
        return {};
    if (row == 0)
        return m_model->headerText(column);
    if (m_model->isCheckCell(row - 1, column))
        return m_model->checked(row - 1, column);
    return m_model->text(row - 1, column);
}

QString EGrid::cellText(int row, int column) const
{
    const QVariant value = cell(row, column);
    return value.metaType().id() == QMetaType::QString ? value.toString() : QString();
}

std::vector<GridListedRow> EGrid::readRows(int first, int count) const
{
    return m_model->readRows(first - 1, first < 1 ? count + first - 1 : count);
}

bool EGrid::cellChecked(int row, int column) const
{
    const QVariant value = cell(row, column);
    return value.metaType().id() == QMetaType::Bool && value.toBool();
}

int EGrid::cursorRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : -1;
}

int EGrid::cursorColumn() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : -1;
}

bool EGrid::setCursorCell(int row, int column)
{
    if (row == -1) {
        selectionModel()->clear();
        return true;
    }
    if (row < 1 || !hasCell(row, column))
        return false;
    setCurrentIndex(m_model->index(row - 1, column));
    return true;
}

bool EGrid::insertRow(int position)
{
    m_model->insertDataRow(position >= 1 ? position - 1 : -1);
    return true;
}

void EGrid::setRowData(int row, const QVariant &value)
{
    m_model->setRowData(row - 1, value);
}

QVariant EGrid::rowData(int row) const
{
    return m_model->rowData(row - 1);
}

bool EGrid::deleteRow(int row)
{
    if (row < 1)
        return false;
    return m_model->removeDataRow(row - 1);
}

void EGrid::renumberRows()
{
    m_model->renumber();
}

void EGrid::showListedRows(std::vector<qint64> keys, std::shared_ptr<GridRowReader> reader)
{
    m_model->setListedRows(std::move(keys), std::move(reader));
}

void EGrid::alignBlock(int firstRow, int firstColumn, int lastRow, int lastColumn, int alignment)
{
    if (alignment < AlignLeft || alignment > AlignCentre)
        return;
    const auto align = static_cast<GridModel::Alignment>(alignment);
    const int r1 = std::max(0, std::min(firstRow, lastRow));
    const int r2 = std::min(rowCount() - 1, std::max(firstRow, lastRow));
    const int c1 = std::max(0, std::min(firstColumn, lastColumn));
    const int c2 = std::min(columnCount() - 1, std::max(firstColumn, lastColumn));
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c) {
            if (r == 0)
                m_model->setHeaderAlignment(c, align);
            else
                m_model->setAlignment(r - 1, c, align);
        }
    }
}

int EGrid::cellAlignment(int row, int column) const
{
    if (!hasCell(row, column))
        return -1;
    return row == 0 ? m_model->headerAlignment(column) : m_model->alignment(row - 1, column);
}

void EGrid::setCellNote(int row, int column, const QString &note)
{
    if (row >= 1 && hasCell(row, column))
        m_model->setNote(row - 1, column, note);
}

QString EGrid::cellNote(int row, int column) const
{
    return row >= 1 && hasCell(row, column) ? m_model->note(row - 1, column) : QString();
}

void EGrid::addListItem(const QString &text)
{
    m_collected.append(text);
}

void EGrid::clearListItems()
{
    m_collected.clear();
}

QStringList EGrid::listItems() const
{
    return m_collected;
}

bool EGrid::setColumnEditor(int column, int kind)
{
    if (column < 0 || column >= columnCount() || kind < 1 || kind > 8)
        return false;
    m_editorKinds[static_cast<size_t>(column)] = kind;
    m_model->setColumnList(column, kind == ListEditor ? m_collected : QStringList());
    return true;
}

QStringList EGrid::columnListItems(int column) const
{
    if (column < 0 || column >= columnCount())
        return {};
    return m_model->columnList(column);
}

void EGrid::beginBulkUpdate()
{
    m_model->beginBulk();
}

void EGrid::endBulkUpdate()
{
    m_model->endBulk();
}

void EGrid::mousePressEvent(QMouseEvent *event)
{
    // The press moves the cursor first, so a handler sees the row that was clicked.
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::RightButton)
        Q_EMIT rightButtonPressed(event->globalPosition().toPoint());
}

} // namespace fenlark
