#include "core/clock.h"
#include "data/record_set.h"
#include "registry/test_register.h"
#include "ui/combo_box.h"
#include "years/year_list.h"

#include <QSignalSpy>
#include <QTest>

using namespace fenlark;

class YearListTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fill_data();
    void fill();
};

void YearListTest::fill_data()
{
    QTest::addColumn<QList<int>>("rows"); // table order
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("selected");

    QTest::newRow("empty") << QList<int>{} << 2016 << QStringList{QStringLiteral("全部")} << 0;
    QTest::newRow("holds the current year")
        << QList<int>{2015, 2016} << 2016
        << QStringList{QStringLiteral("2015"), QStringLiteral("2016"), QStringLiteral("全部")} << 1;
    QTest::newRow("current year missing: first row, unsorted")
        << QList<int>{2016, 2015} << 2017
        << QStringList{QStringLiteral("2016"), QStringLiteral("2015"), QStringLiteral("全部")} << 0;
    QTest::newRow("current year twice: the last")
        << QList<int>{2016, 2015, 2016} << 2016
        << QStringList{QStringLiteral("2016"), QStringLiteral("2015"), QStringLiteral("2016"), QStringLiteral("全部")}
        << 2;
}

void YearListTest::fill()
{
    QFETCH(QList<int>, rows);
    QFETCH(int, current);
    QFETCH(QStringList, items);
    QFETCH(int, selected);

    TestRegister store;
    REQUIRE_TEST_REGISTER(store);
    for (int year : rows)
        QVERIFY(store.addYear(year));
    RecordSet set;
    QVERIFY(set.attach(store.connection()));
    ComboBox years;
    years.addItem(QStringLiteral("旧"));
    QSignalSpy chosen(&years, &ComboBox::itemSelected);
    const FixedClock clock(QDateTime(QDate(current, 6, 1), QTime(10, 0)));

    fillYearList(set, years, clock);

    QStringList texts;
    for (int i = 0; i < years.itemCount(); ++i)
        texts << years.itemText(i);
    QCOMPARE(texts, items);
    QCOMPARE(years.currentIndex(), selected);
    QCOMPARE(chosen.count(), 0); // the program's choice is no user choice
}

QTEST_MAIN(YearListTest)
#include "tst_year_list.moc"
