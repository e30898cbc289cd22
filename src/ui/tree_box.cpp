#include "ui/tree_box.h"

#include <QAbstractItemModel>

namespace fenlark {

namespace {
constexpr int kValueRole = Qt::UserRole;

void appendWalk(QTreeWidgetItem *item, std::vector<QTreeWidgetItem *> &walk, std::vector<QString> &texts)
{
    walk.push_back(item);
    texts.push_back(item->text(0));
    for (int i = 0; i < item->childCount(); ++i)
        appendWalk(item->child(i), walk, texts);
}
} // namespace

TreeBox::TreeBox(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    // Changes made around addItem (through the QTreeWidget interface) drop the cached walk.
    const auto invalidate = [this] {
        if (!m_adding) {
            m_walkValid = false;
            m_positionsValid = false;
        }
    };
    connect(model(), &QAbstractItemModel::rowsInserted, this, invalidate);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, invalidate);
    connect(model(), &QAbstractItemModel::rowsMoved, this, invalidate);
    connect(model(), &QAbstractItemModel::modelReset, this, invalidate);
    connect(model(), &QAbstractItemModel::layoutChanged, this, invalidate);
    connect(model(), &QAbstractItemModel::dataChanged, this, invalidate);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *now, QTreeWidgetItem *before) {
        if (now != before && !m_clearing)
            Q_EMIT selectionChanged();
    });
}

TreeBox::~TreeBox()
{
    // The item model and the selection model are deleted after this object is gone (QWidget
    // deletes its children last), and deleting them resets them: nothing of this tree may hear
    // that, neither the cached walk nor whoever listens for selection changes.
    disconnect(model(), nullptr, this, nullptr);
    disconnect(this, &QTreeWidget::currentItemChanged, this, nullptr);
}

int TreeBox::subtreeSize(const QTreeWidgetItem *item)
{
    int size = 1;
    for (int i = 0; i < item->childCount(); ++i)
        size += subtreeSize(item->child(i));
    return size;
}

void TreeBox::ensureWalk() const
{
    if (m_walkValid)
        return;
    m_walk.clear();
    m_texts.clear();
    for (int i = 0; i < topLevelItemCount(); ++i)
        appendWalk(topLevelItem(i), m_walk, m_texts);
    m_walkValid = true;
    m_positionsValid = false;
}

QTreeWidgetItem *TreeBox::itemAt(int index) const
{
    ensureWalk();
    if (index < 0 || index >= static_cast<int>(m_walk.size()))
        return nullptr;
    return m_walk[static_cast<size_t>(index)];
}

int TreeBox::indexOf(const QTreeWidgetItem *item) const
{
    if (!item)
        return -1;
    ensureWalk();
    if (!m_positionsValid) {
        m_positions.clear();
        m_positions.reserve(static_cast<qsizetype>(m_walk.size()));
        for (size_t i = 0; i < m_walk.size(); ++i)
            m_positions.insert(m_walk[i], static_cast<int>(i));
        m_positionsValid = true;
    }
    return m_positions.value(item, -1);
}

QIcon TreeBox::image(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images.at(index) : QIcon();
}

int TreeBox::addItem(int parentIndex, const QString &text, int image, int selectedImage, int value, bool bold,
                     int stateImage)
{
    QTreeWidgetItem *parent = nullptr;
    int position = 0;
    if (parentIndex != -1) {
        parent = itemAt(parentIndex);
        if (!parent)
            return -1;
        // The new last child comes right after the parent's present subtree.
        position = parentIndex + subtreeSize(parent);
    } else {
        position = itemCount();
    }

    auto *item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kValueRole, value);
    QIcon icon = this->image(image);
    const QIcon selected = this->image(selectedImage);
    if (!selected.isNull()) {
        for (const QSize &size : selected.availableSizes())
            icon.addPixmap(selected.pixmap(size), QIcon::Selected);
    }
    if (!icon.isNull())
        item->setIcon(0, icon);
    if (bold) {
        QFont font = item->font(0);
        font.setBold(true);
        item->setFont(0, font);
    }
    Q_UNUSED(stateImage) // state images are not drawn by this tree

    ensureWalk();
    m_adding = true;
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    m_adding = false;
    m_walk.insert(m_walk.begin() + position, item);
    m_texts.insert(m_texts.begin() + position, text);
    m_positionsValid = false;
    return position;
}

int TreeBox::itemCount() const
{
    ensureWalk();
    return static_cast<int>(m_walk.size());
}

QString TreeBox::itemText(int index) const
{
    ensureWalk();
    if (index < 0 || index >= static_cast<int>(m_texts.size()))
        return {};
    return m_texts[static_cast<size_t>(index)];
}

int TreeBox::itemValue(int index) const
{
    const QTreeWidgetItem *item = itemAt(index);
    return item ? item->data(0, kValueRole).toInt() : -1;
}

int TreeBox::parentOf(int index) const
{
    const QTreeWidgetItem *item = itemAt(index);
    return item ? indexOf(item->parent()) : -1;
}

bool TreeBox::hasChildren(int index) const
{
    const QTreeWidgetItem *item = itemAt(index);
    return item && item->childCount() > 0;
}

void TreeBox::expand(int index)
{
    if (QTreeWidgetItem *item = itemAt(index))
        item->setExpanded(true);
}

void TreeBox::clear()
{
    // Deleting the items drops the current item, but that is no choice of the user: reporting it
    // would reload the household list for no unit, and every rebuild of the tree empties it.
    m_clearing = true;
    QTreeWidget::clear();
    m_clearing = false;
    m_walk.clear();
    m_texts.clear();
    m_walkValid = true;
    m_positions.clear();
    m_positionsValid = true;
}

int TreeBox::selectedIndex() const
{
    return indexOf(currentItem());
}

void TreeBox::select(int index)
{
    QTreeWidgetItem *item = itemAt(index);
    if (item) {
        setCurrentItem(item);
        return;
    }
    setCurrentItem(nullptr);
    clearSelection();
}

} // namespace fenlark
