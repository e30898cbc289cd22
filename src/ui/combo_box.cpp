#include "ui/combo_box.h"

#include "ui/text_table_model.h"

#include <QApplication>
#include <QListView>
#include <QProxyStyle>
#include <QStandardItemModel>
#include <QStyleFactory>

#include <algorithm>
#include <functional>
#include <queue>
#include <vector>

#include <utility>

namespace fenlark {

namespace {

// Lists longer than this open below the box (see openLongListBelow); the 500 longest texts of
// such a list set the drop-down's width.
constexpr qsizetype kLongList = 2000;
constexpr qsizetype kMeasuredTexts = 500;

class LongListStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *answer) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

} // namespace

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::activated, this, &ComboBox::itemSelected);
}

void ComboBox::setEditableText(bool on)
{
    setEditable(on);
    if (on) {
        setInsertPolicy(QComboBox::NoInsert);
        // Typed text is kept as typed; completing it to an item would change what is saved.
        setCompleter(nullptr);
    }
}

QString ComboBox::itemText(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return QComboBox::itemText(index);
}

int ComboBox::itemValue(int index) const
{
    if (index < 0 || index >= count())
        return -1;
    return itemData(index).toInt();
}

void ComboBox::keepingNoSelection(const std::function<void()> &add)
{
    const int before = currentIndex();
    const QString typed = isEditable() ? currentText() : QString();
    add();
    if (before == -1 && currentIndex() != -1) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(typed);
    }
}

int ComboBox::addItem(const QString &text, int value)
{
    makeItemsEditable();
    keepingNoSelection([&] { QComboBox::addItem(text, value); });
    return count() - 1;
}

void ComboBox::addTexts(TextTable texts)
{
    if (texts.isEmpty())
        return;
    keepingNoSelection([&] { takeTexts(std::move(texts)); });
}

void ComboBox::takeTexts(TextTable texts)
{
    if (count() == 0) {
        // An empty box takes the table itself as its items: no item object per text, which for
        // a keyword list of hundreds of thousands of texts cost more than reading them.
        const bool longList = texts.size() > kLongList;
        setModel(new TextTableModel(std::move(texts), this));
        // Every item is one line of text; without this the drop-down measures each of them
        // before it opens (over a second for 400,000 keywords).
        if (auto *list = qobject_cast<QListView *>(view()))
            list->setUniformItemSizes(true);
        if (longList)
            openLongListBelow();
    } else {
        makeItemsEditable();
        QComboBox::addItems(texts.toStringList());
    }
}

void ComboBox::openLongListBelow()
{
    // The style's drop-down over the box is as wide as its widest item, so it measures every
    // item before it opens: nearly a second for 400,000 keywords. A long list opens below the
    // box instead, as wide as the widest of its longest texts, measured once here.
    auto *style = new LongListStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(this);
    setStyle(style);
    const auto *table = qobject_cast<const TextTableModel *>(model());
    if (!table)
        return;
    const TextTable &texts = table->texts();
    // The longest texts by characters, kept in a small heap as the list goes by: no copy of a
    // list of hundreds of thousands.
    using Entry = std::pair<qsizetype, qsizetype>; // (characters, index)
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> longest;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const qsizetype length = texts.at(i).size();
        if (qsizetype(longest.size()) < kMeasuredTexts) {
            longest.emplace(length, i);
        } else if (length > longest.top().first) {
            longest.pop();
            longest.emplace(length, i);
        }
    }
    int widest = 0;
    for (; !longest.empty(); longest.pop())
        widest = std::max(widest, fontMetrics().horizontalAdvance(texts.at(longest.top().second).toString()));
    const int margins = 2 * view()->frameWidth() + view()->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 12;
    view()->setMinimumWidth(std::max(width(), widest + margins));
}

void ComboBox::makeItemsEditable()
{
    const auto *table = qobject_cast<const TextTableModel *>(model());
    if (!table)
        return;
    const int current = currentIndex();
    const QString typed = isEditable() ? currentText() : QString();
    auto *items = new QStandardItemModel(this);
    QList<QStandardItem *> rows;
    rows.reserve(table->texts().size());
    for (qsizetype i = 0; i < table->texts().size(); ++i)
        rows << new QStandardItem(table->texts().at(i).toString());
    items->invisibleRootItem()->appendRows(rows);
    setModel(items);
    setCurrentIndex(current);
    if (current == -1 && isEditable())
        setEditText(typed);
}

void ComboBox::setContent(const QString &text)
{
    if (isEditable()) {
        setEditText(text);
        return;
    }
    setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

QString ComboBox::selectedText() const
{
    return itemText(currentIndex());
}

} // namespace fenlark
