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
