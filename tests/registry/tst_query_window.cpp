// The query window as a window: where it opens over the household list, how it is moved by its
// title strip, and that Return in a field runs nothing.
#include "test_register.h"
#include "ui/drag_events.h"

#include "core/app_state.h"
#include "core/clock.h"
#include "registry/query_window.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/label.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

using namespace fenlark;

namespace {

const FixedClock kClock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));

// The household page as far as the window touches it: a list inside a screen-wide window, with
// the main window's column proportions, and one household on it.
struct Page {
    TestRegister reg;
    AppState state;
    ScriptedDialogs dialogs;
    QWidget host;
    EGrid list{&host};
    Label count{&host};

    Page()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        host.setGeometry(screen);
        list.setGeometry(272, 96, screen.width() - 272 - 10, screen.height() - 96 - 60);
        list.setColumnCount(13);
        const int widths[13] = {30, 70, 100, 80, 70, 70, 70, 70, 70, 70, 70, 70, 110};
        for (int c = 0; c < 13; ++c)
            list.setColumnWidth(c, int(double(widths[c]) / 952.0 * list.width()));
        list.insertRow();
        list.setCell(1, 1, EGrid::TextCell, QStringLiteral("张三"));
        count.setCaption(QStringLiteral("总项目数：1"));
        state.villageNames = {QStringLiteral("甲村")};
        host.show();
    }

    // The screen rectangle of the list's first columns: N, 户主, 身份证 and 所属管辖.
    QRect firstColumns() const
    {
        int width = 0;
        for (int c = 0; c < 4; ++c)
            width += list.columnWidth(c);
        return QRect(list.mapToGlobal(QPoint(0, 0)), QSize(width, list.height()));
    }
};

} // namespace

class QueryWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensClearOfTheFirstColumns();
    void titleStripMovesTheWindow();
    void returnRunsNoQuery();
};

void QueryWindowTest::opensClearOfTheFirstColumns()
{
    Page page;
    QVERIFY(page.reg.ok());
    QRect shownAt;
    page.dialogs.onNextModal([&](QDialog *window) { shownAt = window->frameGeometry(); });
    openQueryWindow(page.state, page.reg.connection(), page.list, page.count, kClock, page.dialogs, &page.host);
    QVERIFY(shownAt.isValid());
    QVERIFY2(!shownAt.intersects(page.firstColumns()), "the window covers the list's first columns");
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(shownAt));
}

void QueryWindowTest::titleStripMovesTheWindow()
{
    Page page;
    QueryWindow window(page.state, page.reg.connection(), page.list, page.count, kClock, &page.host);
    window.show();
    const QPoint before = window.pos();
    drag(window.controls().control<Label>(QStringLiteral("标签2")), QPoint(100, 12), QPoint(-60, 40));
    QCOMPARE(window.pos(), before + QPoint(-60, 40));
    QVERIFY(window.isVisible());
}

void QueryWindowTest::returnRunsNoQuery()
{
    Page page;
    QVERIFY(page.reg.ok());
    QueryWindow window(page.state, page.reg.connection(), page.list, page.count, kClock, &page.host);
    window.show();
    auto *keywords = window.controls().control<ComboBox>(QStringLiteral("组合框3"));
    keywords->setFocus();
    QTest::keyClicks(keywords, QStringLiteral("zz"));
    QTest::keyClick(keywords, Qt::Key_Return);
    QVERIFY(window.isVisible());
    QCOMPARE(page.list.rowCount(), 2); // not emptied by a query that finds nothing
    QCOMPARE(page.list.cellText(1, 1), QStringLiteral("张三"));
    QCOMPARE(page.count.caption(), QStringLiteral("总项目数：1"));
    for (const QPushButton *button : window.findChildren<QPushButton *>())
        QVERIFY2(!button->autoDefault() && !button->isDefault(), qPrintable(button->objectName()));
}

QTEST_MAIN(QueryWindowTest)
#include "tst_query_window.moc"
