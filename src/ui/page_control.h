#pragma once

#include <QTabBar>
#include <QTabWidget>

namespace fenlark {

// Pages with captions, one shown at a time. Controls are placed on page(i).
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget *parent = nullptr);

    int addPage(const QString &caption); // index of the new page
    int pageCount() const { return count(); }
    QWidget *page(int index) const;                    // nullptr when no such page
    QString pageCaption(int index) const;              // "" when no such page
    int currentPage() const { return currentIndex(); } // -1 when there are no pages
    // Shows that page; an index naming no page changes nothing.
    void setCurrentPage(int index);
    // Without the tab row the pages fill the whole control and only the program switches them.
    void setTabsVisible(bool visible) { tabBar()->setVisible(visible); }
    bool tabsVisible() const { return !tabBar()->isHidden(); }
};

} // namespace fenlark
