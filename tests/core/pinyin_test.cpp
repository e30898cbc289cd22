#include "core/pinyin.h"

#include <QtTest>

#include <thread>
#include <vector>

using namespace fenlark;

class PinyinTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initials_data();
    void initials();
    void sameFromSeveralThreads();
};

void PinyinTest::initials_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    // The two-letter initials stay whole; a reading that starts with a vowel gives nothing.
    QTest::newRow("zh stays whole") << QStringLiteral("张三") << QStringLiteral("zhs");
    QTest::newRow("w counts") << QStringLiteral("王芳") << QStringLiteral("wf");
    QTest::newRow("y counts") << QStringLiteral("杨洋") << QStringLiteral("yy");
    QTest::newRow("vowel reading") << QStringLiteral("安") << QString();
    QTest::newRow("vowel reading in the middle") << QStringLiteral("王二小") << QStringLiteral("wx");
    QTest::newRow("vowel surname") << QStringLiteral("欧阳修") << QStringLiteral("yx");
    QTest::newRow("three characters") << QStringLiteral("诸葛亮") << QStringLiteral("zhgl");
    QTest::newRow("ch and sh") << QStringLiteral("陈少华") << QStringLiteral("chshh");
    QTest::newRow("umlaut reading") << QStringLiteral("吕布") << QStringLiteral("lb");
    QTest::newRow("umlaut after n") << QStringLiteral("女") << QStringLiteral("n");

    // Surnames read as surnames, the same characters elsewhere in their ordinary reading.
    QTest::newRow("surname shan") << QStringLiteral("单雄信") << QStringLiteral("shxx");
    QTest::newRow("surname zeng") << QStringLiteral("曾国藩") << QStringLiteral("zgf");
    QTest::newRow("surname chang") << QStringLiteral("长明") << QStringLiteral("chm");
    QTest::newRow("dan after the surname") << QStringLiteral("王单") << QStringLiteral("wd");

    // A surname reading belongs to the surname only; the given name reads as plain words do.
    QTest::newRow("surname qin") << QStringLiteral("覃小明") << QStringLiteral("qxm");
    QTest::newRow("surname kan") << QStringLiteral("阚泽") << QStringLiteral("kz");
    QTest::newRow("surname nie") << QStringLiteral("乜红") << QStringLiteral("nh");
    QTest::newRow("surname wei alone") << QStringLiteral("尉") << QStringLiteral("w");
    QTest::newRow("surname wei with a name") << QStringLiteral("尉建国") << QStringLiteral("wjg");
    QTest::newRow("yun in a given name") << QStringLiteral("李筠") << QStringLiteral("ly");
    QTest::newRow("sheng in a given name") << QStringLiteral("王晟") << QStringLiteral("wsh");
    QTest::newRow("zhi in a given name") << QStringLiteral("刘峙") << QStringLiteral("lzh");
    QTest::newRow("chang in a given name") << QStringLiteral("王长江") << QStringLiteral("wchj");
    QTest::newRow("surname shan, dan after it") << QStringLiteral("单单") << QStringLiteral("shd");
    QTest::newRow("surname zeng, ceng after it") << QStringLiteral("曾曾") << QStringLiteral("zc");
    QTest::newRow("surname reading not in the given name") << QStringLiteral("张覃") << QStringLiteral("zht");
    QTest::newRow("surname alone") << QStringLiteral("覃") << QStringLiteral("q");
    // Two-character surnames read as one surname.
    QTest::newRow("compound yuchi") << QStringLiteral("尉迟恭") << QStringLiteral("ychg");
    QTest::newRow("compound zhangsun") << QStringLiteral("长孙无忌") << QStringLiteral("zhswj");
    QTest::newRow("compound ouyang alone") << QStringLiteral("欧阳") << QStringLiteral("y");
    QTest::newRow("compound shangguan") << QStringLiteral("上官婉儿") << QStringLiteral("shgw");
    QTest::newRow("compound moqi") << QStringLiteral("万俟卨") << QStringLiteral("mqx");
    QTest::newRow("compound chanyu") << QStringLiteral("单于春") << QStringLiteral("chych");
    QTest::newRow("compound linghu") << QStringLiteral("令狐冲") << QStringLiteral("lhch");

    // Real people, their names as they are read.
    static const struct {
        const char *name;
        const char *initials;
    } people[] = {
        {"毛泽东", "mzd"},   {"周恩来", "zhl"},   {"邓小平", "dxp"},  {"刘少奇", "lshq"}, {"朱德", "zhd"},
        {"孙中山", "szhsh"}, {"鲁迅", "lx"},      {"李白", "lb"},     {"杜甫", "df"},     {"苏轼", "ssh"},
        {"王安石", "wsh"},   {"司马光", "smg"},   {"曹操", "cc"},     {"关羽", "gy"},     {"岳飞", "yf"},
        {"文天祥", "wtx"},   {"屈原", "qy"},      {"孔子", "kz"},     {"单田芳", "shtf"}, {"覃振", "qzh"},
        {"尉缭", "wl"},      {"乐毅", "yy"},      {"仇英", "qy"},     {"解缙", "xj"},     {"查良镛", "zhly"},
        {"翟志刚", "zhzhg"}, {"种师道", "chshd"}, {"华罗庚", "hlg"},  {"沈从文", "shcw"}, {"钱学森", "qxs"},
        {"邓稼先", "djx"},   {"袁隆平", "ylp"},   {"屠呦呦", "tyy"},  {"莫言", "my"},     {"姚明", "ym"},
        {"郎平", "lp"},      {"任正非", "rzhf"},  {"张艺谋", "zhym"}, {"成龙", "chl"},    {"周杰伦", "zhjl"},
        {"邓丽君", "dlj"},   {"林徽因", "lhy"},   {"徐志摩", "xzhm"}, {"梁启超", "lqch"}, {"康有为", "kyw"},
        {"谭嗣同", "tst"},   {"蔡元培", "cyp"},   {"胡适", "hsh"},    {"闻一多", "wyd"},  {"冼星海", "xxh"},
        {"聂耳", "n"},       {"司马迁", "smq"},   {"慕容复", "mrf"},  {"皇甫谧", "hfm"},  {"东方朔", "dfsh"},
        {"夏侯惇", "xhd"},   {"公孙瓒", "gsz"},   {"诸葛瑾", "zhgj"}, {"欧阳询", "yx"},   {"长孙皇后", "zhshh"},
    };
    for (const auto &person : people)
        QTest::addRow("person %s", person.name) << QString::fromUtf8(person.name) << QString::fromUtf8(person.initials);

    // Characters outside GB2312 with a standard reading.
    QTest::newRow("GBK only") << QStringLiteral("喆") << QStringLiteral("zh");
    QTest::newRow("outside GBK") << QStringLiteral("王𪚥") << QStringLiteral("wzh");

    // ASCII runs go; other non-Han characters give nothing and shift nothing.
    QTest::newRow("digit inside") << QStringLiteral("李2明") << QStringLiteral("lm");
    QTest::newRow("ASCII only") << QStringLiteral("ZhangSan_01") << QString();
    QTest::newRow("ASCII around") << QStringLiteral("a张bc三d") << QStringLiteral("zhs");
    QTest::newRow("repeated run") << QStringLiteral("ab李ab明") << QStringLiteral("lm");
    QTest::newRow("blank") << QStringLiteral("张 三") << QStringLiteral("zhs");
    QTest::newRow("middle dot") << QStringLiteral("张·三") << QStringLiteral("zhs");
    QTest::newRow("Chinese punctuation") << QStringLiteral("张三，李四") << QStringLiteral("zhsls");
    QTest::newRow("full-width letters") << QStringLiteral("ＡＢ刘") << QStringLiteral("l");
    QTest::newRow("empty") << QString() << QString();
}

void PinyinTest::initials()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(pinyinInitials(name), expected);
}

// The transliterator is made once and shared: threads that ask first at the same time must
// all get the right answer.
void PinyinTest::sameFromSeveralThreads()
{
    const QStringList names{QStringLiteral("张三"), QStringLiteral("单雄信"), QStringLiteral("曾国藩"),
                            QStringLiteral("欧阳修")};
    const QStringList expected{QStringLiteral("zhs"), QStringLiteral("shxx"), QStringLiteral("zgf"),
                               QStringLiteral("yx")};
    std::vector<QStringList> results(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i)
                results[t] << pinyinInitials(names.at(i % names.size()));
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (const QStringList &got : results) {
        for (int i = 0; i < got.size(); ++i)
            QCOMPARE(got.at(i), expected.at(i % expected.size()));
    }
}

QTEST_GUILESS_MAIN(PinyinTest)
#include "pinyin_test.moc"
