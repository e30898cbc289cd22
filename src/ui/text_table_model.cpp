#include "ui/text_table_model.h"

#include <limits>
#include <utility>

namespace fenlark {

TextTableModel::TextTableModel(TextTable texts, QObject *parent) : QAbstractListModel(parent), m_texts(std::move(texts))
{
}

int TextTableModel::rowCount(const QModelIndex &parent) const
{
    // A list has rows only at its root; a table beyond int's range shows as many as a view can.
    if (parent.isValid())
        return 0;
    return int(std::min<qsizetype>(m_texts.size(), std::numeric_limits<int>::max()));
}

QVariant TextTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_texts.at(index.row()).toString();
}

bool TextTableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    TextTable kept;
    kept.reserve(m_texts.size() - count, 0);
    for (qsizetype i = 0; i < m_texts.size(); ++i) {
        if (i < row || i >= row + count)
            kept.append(m_texts.at(i));
    }
    m_texts = std::move(kept);
    endRemoveRows();
    return true;
}

} // namespace fenlark
