#include "data/find_criterion.h"

#include <QTest>

using fenlark::ColumnKind;
using fenlark::CriterionMatcher;
using fenlark::FieldValue;
using fenlark::FindCriterion;
using fenlark::parseFindCriterion;

Q_DECLARE_METATYPE(ColumnKind)
Q_DECLARE_METATYPE(FieldValue)

class FindCriterionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parses_data();
    void parses();
    void matches_data();
    void matches();
};

void FindCriterionTest::parses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<bool>("quoted");

    const auto row = [](const char *name, const QString &text, bool valid, const QString &column = QString(),
                        const QString &literal = QString(),
                        bool quoted = true) { QTest::newRow(name) << text << valid << column << literal << quoted; };
    row("quoted name", QStringLiteral("户主='张三'"), true, QStringLiteral("户主"), QStringLiteral("张三"));
    row("blanks around", QStringLiteral("  户主 =  '张三'  "), true, QStringLiteral("户主"), QStringLiteral("张三"));
    row("blanks inside kept", QStringLiteral("户主=' 张 三 '"), true, QStringLiteral("户主"),
        QStringLiteral(" 张 三 "));
    row("empty literal", QStringLiteral("户主=''"), true, QStringLiteral("户主"), QString());
    row("doubled quote", QStringLiteral("户主='O''Brien'"), true, QStringLiteral("户主"), QStringLiteral("O'Brien"));
    row("only a doubled quote", QStringLiteral("户主=''''"), true, QStringLiteral("户主"), QStringLiteral("'"));
    row("stray quote", QStringLiteral("户主='O'Brien'"), false);
    row("unterminated", QStringLiteral("户主='张三"), false);
    row("quote at the end", QStringLiteral("户主='张三''"), false);
    row("year quoted", QStringLiteral("年份='2016'"), true, QStringLiteral("年份"), QStringLiteral("2016"));
    row("unquoted number", QStringLiteral("年份=2016"), true, QStringLiteral("年份"), QStringLiteral("2016"), false);
    row("unquoted negative real", QStringLiteral("x=-1.5e2"), true, QStringLiteral("x"), QStringLiteral("-1.5e2"),
        false);
    row("unquoted word", QStringLiteral("户主=张三"), false);
    row("bracketed column", QStringLiteral("[单位 名称]='x'"), true, QStringLiteral("单位 名称"), QStringLiteral("x"));
    row("date literal", QStringLiteral("t=#2016-04-13#"), true, QStringLiteral("t"), QStringLiteral("2016-04-13"));
    row("no operator", QStringLiteral("户主 '张三'"), false);
    row("other operator", QStringLiteral("户主<>'张三'"), false);
    row("no column", QStringLiteral("='张三'"), false);
    row("no literal", QStringLiteral("户主="), false);
    row("empty", QString(), false);
    row("trailing words", QStringLiteral("户主='a' OR 1=1"), false);
}

void FindCriterionTest::parses()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::optional<FindCriterion> parsed = parseFindCriterion(text);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid)
        return;
    QFETCH(QString, column);
    QFETCH(QString, literal);
    QFETCH(bool, quoted);
    QCOMPARE(parsed->column, column);
    QCOMPARE(parsed->literal, literal);
    QCOMPARE(parsed->quoted, quoted);
}

void FindCriterionTest::matches_data()
{
    QTest::addColumn<ColumnKind>("kind");
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<FieldValue>("value");
    QTest::addColumn<int>("expected"); // 1 match, 0 no match, -1 invalid for this column

    const auto text = [](const char *s) { return FieldValue::fromText(QString::fromUtf8(s)); };
    QTest::newRow("text equal") << ColumnKind::Text << QStringLiteral("c='张三'") << text("张三") << 1;
    QTest::newRow("text case") << ColumnKind::Text << QStringLiteral("c='abc'") << text("ABC") << 0;
    QTest::newRow("text trailing blank") << ColumnKind::Text << QStringLiteral("c='a'") << text("a ") << 0;
    QTest::newRow("text null") << ColumnKind::Text << QStringLiteral("c=''") << FieldValue::null() << 0;
    QTest::newRow("text empty") << ColumnKind::Text << QStringLiteral("c=''") << text("") << 1;
    QTest::newRow("text vs blob") << ColumnKind::Text << QStringLiteral("c='a'") << FieldValue::fromBlob("a") << 0;
    QTest::newRow("integer quoted") << ColumnKind::Integer << QStringLiteral("c='2016'")
                                    << FieldValue::fromInteger(2016) << 1;
    QTest::newRow("integer unquoted") << ColumnKind::Integer << QStringLiteral("c=2016")
                                      << FieldValue::fromInteger(2016) << 1;
    QTest::newRow("integer other") << ColumnKind::Integer << QStringLiteral("c='2017'") << FieldValue::fromInteger(2016)
                                   << 0;
    QTest::newRow("integer vs fraction") << ColumnKind::Integer << QStringLiteral("c='2016.5'")
                                         << FieldValue::fromInteger(2016) << 0;
    QTest::newRow("integer null") << ColumnKind::Integer << QStringLiteral("c='0'") << FieldValue::null() << 0;
    QTest::newRow("integer word") << ColumnKind::Integer << QStringLiteral("c='abc'") << FieldValue::fromInteger(0)
                                  << -1;
    QTest::newRow("big integer exact") << ColumnKind::Integer << QStringLiteral("c='9007199254740993'")
                                       << FieldValue::fromInteger(9007199254740992LL) << 0;
    QTest::newRow("double") << ColumnKind::Double << QStringLiteral("c='12.5'") << FieldValue::fromReal(12.5) << 1;
    QTest::newRow("single through float")
        << ColumnKind::Single << QStringLiteral("c='1234.56'") << FieldValue::fromReal(double(1234.56f)) << 1;
    QTest::newRow("bool true") << ColumnKind::Bool << QStringLiteral("c='TRUE'") << FieldValue::fromInteger(1) << 1;
    QTest::newRow("bool zero") << ColumnKind::Bool << QStringLiteral("c=0") << FieldValue::fromInteger(1) << 0;
    QTest::newRow("date") << ColumnKind::DateTime << QStringLiteral("c='2016-04-13 08:05:09'")
                          << text("2016-04-13 08:05:09") << 1;
    QTest::newRow("date other second") << ColumnKind::DateTime << QStringLiteral("c='2016-04-13 08:05:10'")
                                       << text("2016-04-13 08:05:09") << 0;
    QTest::newRow("date bad literal") << ColumnKind::DateTime << QStringLiteral("c='soon'") << text("soon") << -1;
}

void FindCriterionTest::matches()
{
    QFETCH(ColumnKind, kind);
    QFETCH(QString, criterion);
    QFETCH(FieldValue, value);
    QFETCH(int, expected);
    const std::optional<FindCriterion> parsed = parseFindCriterion(criterion);
    QVERIFY(parsed);
    const std::optional<CriterionMatcher> matcher = CriterionMatcher::make(kind, *parsed);
    QCOMPARE(matcher.has_value(), expected >= 0);
    if (matcher)
        QCOMPARE(matcher->matches(value), expected == 1);
}

QTEST_GUILESS_MAIN(FindCriterionTest)
#include "tst_find_criterion.moc"
