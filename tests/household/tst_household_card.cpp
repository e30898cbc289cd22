// "打印" of the household form: the whole record, as the form shows it, on one page.
#include "household_fixture.h"
#include "printing/pdf_text.h"

#include "printing/print_service.h"

#include <QTest>

using namespace fenlark;

class HouseholdCardTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFieldAndMemberOnOnePage();
    void aLongSituationStillFitsOnePage();
};

namespace {

// Fills every field of the form with a value of its own; returns the captions and values the
// card must show.
QStringList fillEveryField(QDialog *w)
{
    control<ComboBox>(w, u"组合框3")->setContent(QStringLiteral("村A"));
    control<ComboBox>(w, u"组合框1")->setCurrentIndex(2); // 三无
    control<RadioBox>(w, u"单选框1")->setChecked(true);   // 计划生育户 是
    control<RadioBox>(w, u"单选框3")->setChecked(true);   // 合作医疗 否
    control<RadioBox>(w, u"单选框6")->setChecked(true);   // 养老保险 是
    control<EditBox>(w, u"编辑框2")->setContent(QStringLiteral("360.5"));
    control<EditBox>(w, u"编辑框11")->setContent(QStringLiteral("1280"));
    control<EditBox>(w, u"编辑框9")->setContent(QStringLiteral("东风村三组十八号"));
    control<EditBox>(w, u"编辑框12")->setContent(QStringLiteral("13912345678"));
    control<ComboBox>(w, u"组合框5")->setContent(QStringLiteral("核桃种植大户"));
    control<EditBox>(w, u"编辑框14")->setContent(QStringLiteral("23456"));
    control<ComboBox>(w, u"组合框2")->setContent(QStringLiteral("中国邮政储蓄"));
    control<EditBox>(w, u"编辑框1")->setContent(QStringLiteral("6228480012345678"));
    control<RadioBox>(w, u"单选框9")->setChecked(true); // 慢性疾病
    control<CheckBox>(w, u"选择框1")->setChecked(true);
    control<ComboBox>(w, u"组合框6")->setContent(QStringLiteral("治安处罚"));
    control<CheckBox>(w, u"选择框2")->setChecked(true);
    control<CheckBox>(w, u"选择框4")->setChecked(false);
    control<EditBox>(w, u"编辑框10")->setContent(QStringLiteral("家有老人两位\n长子外出务工"));
    control<EditBox>(w, u"编辑框13")->setContent(QStringLiteral("重点户,危房改造"));
    control<CheckBox>(w, u"选择框3")->setChecked(true);
    control<DatePicker>(w, u"日期框1")->setValue(QDateTime(QDate(2001, 7, 1), QTime(0, 0)));
    control<ComboBox>(w, u"组合框4")->setContent(QStringLiteral("村文书"));
    EGrid &grid = form(w)->memberGrid();
    const QStringList members[] = {
        {QStringLiteral("䶮龘"), QStringLiteral("男"), QStringLiteral("110101199001010001"), QStringLiteral("初中"),
         QStringLiteral("户主"), QStringLiteral("汉族")},
        {QStringLiteral("李秀英"), QStringLiteral("女"), QStringLiteral("110101199203040022"), QStringLiteral("高中"),
         QStringLiteral("配偶"), QStringLiteral("彝族")},
    };
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 6; ++c)
            grid.setCell(r + 1, c, EGrid::TextCell, members[r].at(c));
    }
    QStringList shown = {QStringLiteral("直属管辖"),
                         QStringLiteral("村A"),
                         QStringLiteral("农户属性"),
                         QStringLiteral("三无"),
                         QStringLiteral("计划生育户"),
                         QStringLiteral("新型农村合作医疗"),
                         QStringLiteral("新型农村社会养老保险"),
                         QStringLiteral("社保缴纳金额"),
                         QStringLiteral("360.5"),
                         QStringLiteral("上年度领取的低保金"),
                         QStringLiteral("1280"),
                         QStringLiteral("家庭住址"),
                         QStringLiteral("东风村三组十八号"),
                         QStringLiteral("联系电话"),
                         QStringLiteral("13912345678"),
                         QStringLiteral("家庭经营"),
                         QStringLiteral("核桃种植大户"),
                         QStringLiteral("年收入"),
                         QStringLiteral("23456"),
                         QStringLiteral("开户银行"),
                         QStringLiteral("中国邮政储蓄"),
                         QStringLiteral("银行账号"),
                         QStringLiteral("6228480012345678"),
                         QStringLiteral("健康状况"),
                         QStringLiteral("慢性疾病"),
                         QStringLiteral("违法违纪行为"),
                         QStringLiteral("治安处罚"),
                         QStringLiteral("是否残疾"),
                         QStringLiteral("是否上访户"),
                         QStringLiteral("家庭状况说明"),
                         QStringLiteral("家有老人两位"),
                         QStringLiteral("长子外出务工"),
                         QStringLiteral("关键字标签"),
                         QStringLiteral("重点户,危房改造"),
                         QStringLiteral("是否党员"),
                         QStringLiteral("入党时间"),
                         QStringLiteral("2001-07-01"),
                         QStringLiteral("党内职务"),
                         QStringLiteral("村文书")};
    for (const QStringList &member : members)
        shown << member;
    shown << QStringLiteral("姓名") << QStringLiteral("与户主关系") << QStringLiteral("民族");
    return shown;
}

} // namespace

void HouseholdCardTest::everyFieldAndMemberOnOnePage()
{
    HouseholdFixture f;
    QVERIFY(f.isReady());
    QTemporaryDir dir;
    PdfPrintService printer(dir.filePath(QStringLiteral("card.pdf")));
    HouseholdEditContext context = f.context();
    context.printer = &printer;
    f.state.editMode = kEditModeAdd;
    HouseholdEditWindow window(f.state, f.connection, f.dialogs, context);
    const QStringList shown = fillEveryField(&window);

    control<Button>(&window, u"按钮_打印")->click();
    QCOMPARE(printer.printed(), QStringList{QStringLiteral("农户信息卡")});
    QCOMPARE(pdfPageCount(printer.path()), 1);
    const QString text = pdfPageText(printer.path(), 1);
    for (const QString &expected : shown)
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" not in:\n") + text));
    // Printing stores nothing, shows nothing and leaves the form open.
    QCOMPARE(f.households(), QStringList());
    QVERIFY(f.dialogs.shown().empty());
}

void HouseholdCardTest::aLongSituationStillFitsOnePage()
{
    HouseholdFixture f;
    QVERIFY(f.isReady());
    QTemporaryDir dir;
    PdfPrintService printer(dir.filePath(QStringLiteral("card.pdf")));
    HouseholdEditContext context = f.context();
    context.printer = &printer;
    f.state.editMode = kEditModeAdd;
    HouseholdEditWindow window(f.state, f.connection, f.dialogs, context);
    fillEveryField(&window);
    QStringList lines;
    for (int i = 1; i <= 120; ++i)
        lines << QStringLiteral("第%1行情况说明").arg(i);
    control<EditBox>(&window, u"编辑框10")->setContent(lines.join(u'\n'));
    control<Button>(&window, u"按钮_打印")->click();
    QCOMPARE(pdfPageCount(printer.path()), 1);
    const QString text = pdfPageText(printer.path(), 1);
    QVERIFY(text.contains(QStringLiteral("第120行情况说明")));
    QVERIFY(text.contains(QStringLiteral("李秀英")));
}

QTEST_MAIN(HouseholdCardTest)
#include "tst_household_card.moc"
