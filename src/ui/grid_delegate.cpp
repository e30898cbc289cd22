#include "ui/grid_delegate.h"

#include "ui/grid_model.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace fenlark {

GridDelegate::GridDelegate(GridModel *model, QObject *parent) : QStyledItemDelegate(parent), m_model(model) {}

bool GridDelegate::isCheck(const QModelIndex &index) const
{
    return index.isValid() && index.row() < m_model->dataRows() && index.column() < m_model->columns() &&
           m_model->isCheckCell(index.row(), index.column());
}

QRect GridDelegate::checkRect(const QStyleOptionViewItem &option)
{
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget);
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, QSize(w, h), option.rect);
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!isCheck(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    // The cell's background and selection first, without Qt's left-hand indicator.
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    QStyleOptionViewItem box(opt);
    box.rect = checkRect(option);
    box.state &= ~(QStyle::State_On | QStyle::State_Off);
    box.state |= m_model->checked(index.row(), index.column()) ? QStyle::State_On : QStyle::State_Off;
    if (!(index.flags() & Qt::ItemIsUserCheckable))
        box.state &= ~QStyle::State_Enabled;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, opt.widget);
}

bool GridDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                               const QModelIndex &index)
{
    if (!isCheck(index))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (!(index.flags() & Qt::ItemIsUserCheckable))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !checkRect(option).contains(mouse->position().toPoint()))
            return false;
        break;
    }
    case QEvent::MouseButtonDblClick: {
        // Swallow the second click on the box so a fast double click toggles twice, not thrice.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        return checkRect(option).contains(mouse->position().toPoint());
    }
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Space)
            return false;
        break;
    default:
        return false;
    }
    const bool now = m_model->checked(index.row(), index.column());
    return model->setData(index, now ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QStringList items =
        index.isValid() && index.column() < m_model->columns() ? m_model->columnList(index.column()) : QStringList();
    if (items.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFrame(false);
    combo->addItems(items);
    // Choosing an item ends the edit at once, as a list editor should.
    connect(combo, &QComboBox::activated, this, [this, combo](int) {
        auto *self = const_cast<GridDelegate *>(this);
        Q_EMIT self->commitData(combo);
        Q_EMIT self->closeEditor(combo);
    });
    return combo;
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const QString text = index.data(Qt::EditRole).toString();
        const int at = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (at >= 0)
            combo->setCurrentIndex(at);
        combo->setEditText(text);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace fenlark
