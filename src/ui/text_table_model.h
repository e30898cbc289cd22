#pragma once

#include "core/text_table.h"

#include <QAbstractListModel>

namespace fenlark {

// A read-only list model over a TextTable: each text a row, made into a QString only when a
// view or a search asks for it. A drop-down of hundreds of thousands of texts then costs the
// table's two buffers instead of an item object per text.
class TextTableModel final : public QAbstractListModel {
    Q_OBJECT
public:
    TextTableModel(TextTable texts, QObject *parent = nullptr);

    const TextTable &texts() const noexcept { return m_texts; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Rows can be taken away (the box's clear() and removeItem()), not added or changed.
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

private:
    TextTable m_texts;
};

} // namespace fenlark
