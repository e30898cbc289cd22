#include "ui/page_control.h"

namespace fenlark {

PageControl::PageControl(QWidget *parent) : QTabWidget(parent) {}

int PageControl::addPage(const QString &caption)
{
    auto *page = new QWidget;
    page->setObjectName(objectName() + QStringLiteral("_page") + QString::number(count()));
    return addTab(page, caption);
}

QWidget *PageControl::page(int index) const
{
    return index >= 0 && index < count() ? widget(index) : nullptr;
}

QString PageControl::pageCaption(int index) const
{
    return index >= 0 && index < count() ? tabText(index) : QString();
}

void PageControl::setCurrentPage(int index)
{
    if (index >= 0 && index < count())
        setCurrentIndex(index);
}

} // namespace fenlark
