#pragma once

#include <QStyledItemDelegate>

namespace fenlark {

class GridModel;

// Draws check-box cells with the box centred and toggles them on a click inside the box or on
// Space; edits text cells with a line editor, or with an editable drop-down where the column has
// been given a list (typed text is kept as typed, a chosen item leaves its text in the cell).
class GridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(GridModel *model, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    static QRect checkRect(const QStyleOptionViewItem &option);
    bool isCheck(const QModelIndex &index) const;

    GridModel *m_model;
};

} // namespace fenlark
