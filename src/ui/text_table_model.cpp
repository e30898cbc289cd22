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

} // namespace fenlark
