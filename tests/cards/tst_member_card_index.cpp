#include "member_register.h"

#include "data/member_card_index.h"
#include "data/record_set.h"
#include "data/schema.h"

#include <QFile>
#include <QTest>

#include <algorithm>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using namespace fenlark;

namespace {
const QString kCardA = QStringLiteral("110101199003071233");
const QString kCardB = QStringLiteral("110101199003071241");
const QString kCardC = QStringLiteral("11010519491231002X");

QString row(qint64 id, int year, const QString &unit, const QString &name, const QString &card)
{
    return QStringList{QString::number(id), QString::number(year), unit, name, card}.join(u'|');
}
} // namespace

class TestMemberCardIndex : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void followsInsertUpdateAndDelete();
    void writesThroughTheRecordLayerAreMirrored();
    void rolledBackWriteLeavesNoTrace();
    void madeOnFirstOpenOfAnOlderRegister();
    void firstOpenReportsEachStepOfTheBuild();
    void interruptedBuildIsMadeAgainOnTheNextOpen();
    void rebuildMendsADriftedIndex();
    void bulkLoadOfANewRegisterIsIndexed();
};

void TestMemberCardIndex::followsInsertUpdateAndDelete()
{
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    const qint64 one = r.add(2016, QStringLiteral("村A"), {u"张三:"_qs + kCardA, u"李四:"_qs + kCardB});
    const qint64 two = r.add(2016, QStringLiteral("村B"), {u"王五:"_qs + kCardC});
    QCOMPARE(r.index(),
             (QStringList{row(one, 2016, u"村A"_qs, u"张三"_qs, kCardA), row(one, 2016, u"村A"_qs, u"李四"_qs, kCardB),
                          row(two, 2016, u"村B"_qs, u"王五"_qs, kCardC)}));
    QCOMPARE(r.nameHits(u"李四"_qs), 1);

    // A changed card, unit and year: the household's members are written again.
    Statement update(r.connection, QStringLiteral("UPDATE 成员信息 SET 家庭人员信息 = ?, 所属管辖 = '村C', "
                                                  "录入年份 = 2017 WHERE rowid = ?"));
    update.bind(1, u"张三-男-"_qs + kCardC + u"-户主-汉族-初中"_qs).bind(2, one);
    QVERIFY(update.exec());
    QCOMPARE(r.index(), (QStringList{row(one, 2017, u"村C"_qs, u"张三"_qs, kCardC),
                                     row(two, 2016, u"村B"_qs, u"王五"_qs, kCardC)}));
    QCOMPARE(r.nameHits(u"李四"_qs), 0);

    // A change of another column leaves the index as it was.
    QVERIFY(execScript(r.connection, u"UPDATE 成员信息 SET 家庭住址 = '一组'"_qs));
    QCOMPARE(r.index().size(), 2);

    Statement remove(r.connection, QStringLiteral("DELETE FROM 成员信息 WHERE rowid = ?"));
    remove.bind(1, two);
    QVERIFY(remove.exec());
    QCOMPARE(r.index(), (QStringList{row(one, 2017, u"村C"_qs, u"张三"_qs, kCardC)}));
    QCOMPARE(r.nameHits(u"王"_qs), 0);
    QCOMPARE(r.nameHits(u"张"_qs), 1);
}

void TestMemberCardIndex::writesThroughTheRecordLayerAreMirrored()
{
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    RecordSet set;
    set.attach(r.connection);
    QVERIFY(set.openTable(schema::households::table));
    QVERIFY(set.addNew());
    QVERIFY(set.writeInt(schema::households::entryYear, 2016));
    QVERIFY(set.writeText(schema::households::unit, u"村A"_qs));
    QVERIFY(set.writeText(schema::households::members, u"赵六-女-"_qs + kCardB + u"-户主-汉族-"_qs));
    QVERIFY(set.update());
    set.close();
    QCOMPARE(r.index().size(), 1);
    QVERIFY(r.index().first().endsWith(u"|2016|村A|赵六|"_qs + kCardB));

    QVERIFY(set.openTable(schema::households::table));
    set.moveFirst();
    QVERIFY(set.writeText(schema::households::members,
                          u"赵六-女-"_qs + kCardA + u"-户主-汉族-,小明-男-"_qs + kCardC + u"-儿子-汉族-"_qs));
    QVERIFY(set.update());
    set.close();
    QCOMPARE(r.index().size(), 2);
    QVERIFY(r.index().at(1).endsWith(u"|小明|"_qs + kCardC));

    QVERIFY(set.openTable(schema::households::table));
    set.moveFirst();
    QVERIFY(set.deleteCurrent());
    set.close();
    QVERIFY(r.index().isEmpty());
}

void TestMemberCardIndex::rolledBackWriteLeavesNoTrace()
{
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    {
        Transaction transaction(r.connection);
        r.add(2016, QStringLiteral("村A"), {u"张三:"_qs + kCardA});
        QCOMPARE(r.index().size(), 1);
    }
    QVERIFY(r.index().isEmpty());
    QCOMPARE(r.nameHits(u"张"_qs), 0);
}

void TestMemberCardIndex::madeOnFirstOpenOfAnOlderRegister()
{
    FILE_REGISTER_ONLY("a file made before the index");
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    const qint64 one = r.addPacked(2016, QStringLiteral("村A"), u"张三"_qs,
                                   u"张三-男-"_qs + kCardA + u"-户主-汉族-初中,-女-"_qs + kCardC +
                                       u"-配偶-汉族-,𬀩芳-女-"_qs + kCardB + u"-女儿-汉族-"_qs);
    // A register from before the index: the table and the name index are not there.
    QVERIFY(execScript(r.connection, u"DROP TABLE 成员身份证; DROP TABLE 成员姓名检索;"_qs));
    r.connection.close();
    QVERIFY(r.connection.connectAccess(r.path(), QString()));
    // The entry without a name is no member.
    QCOMPARE(r.index(), (QStringList{row(one, 2016, u"村A"_qs, u"张三"_qs, kCardA),
                                     row(one, 2016, u"村A"_qs, u"𬀩芳"_qs, kCardB)}));
    QCOMPARE(r.nameHits(u"𬀩"_qs), 1);
    // And kept from then on.
    r.add(2016, QStringLiteral("村A"), {u"王五:"_qs + kCardC});
    QCOMPARE(r.index().size(), 3);
}

namespace {

// A register of households 1 to 60 with one member each, some deleted so the rowids have gaps,
// from before the index: closed, ready to be opened again.
QStringList olderRegisterOf60(MemberRegister &r)
{
    QStringList kept;
    for (int i = 1; i <= 60; ++i) {
        const qint64 id = r.add(2016, QStringLiteral("村A"), {QStringLiteral("户%1:").arg(i) + kCardA});
        if (i % 7 == 0)
            execScript(r.connection, QStringLiteral("DELETE FROM 成员信息 WHERE id = %1").arg(id));
        else
            kept << row(id, 2016, u"村A"_qs, QStringLiteral("户%1").arg(i), kCardA);
    }
    execScript(r.connection, u"DROP TABLE 成员身份证; DROP TABLE 成员姓名检索;"_qs);
    r.connection.close();
    return kept;
}

struct ProgressCall {
    int built, total;
    QString step;
};

} // namespace

// The first open of an older register builds the index in steps the start-up's progress dialog
// names: the cards, then the names, each counting up to its end; a register that has the index
// reports nothing.
void TestMemberCardIndex::firstOpenReportsEachStepOfTheBuild()
{
    FILE_REGISTER_ONLY("the build on opening a file");
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    const QStringList expected = olderRegisterOf60(r);
    std::vector<ProgressCall> calls;
    r.connection.setIndexBuildProgress([&](int built, int total, const QString &step) {
        calls.push_back({built, total, step});
    });
    QVERIFY(r.connection.connectAccess(r.path(), QString()));
    QCOMPARE(r.index(), expected);
    QCOMPARE(r.nameHits(u"户59"_qs), 1);

    QVERIFY(!calls.empty());
    QCOMPARE(calls.front().step, cardIndexStepText());
    QCOMPARE(calls.front().built, 0);
    QCOMPARE(calls.back().step, nameIndexStepText());
    QCOMPARE(calls.back().built, calls.back().total);
    for (std::size_t i = 1; i < calls.size(); ++i) {
        QVERIFY(calls[i].built >= calls[i - 1].built);
        QCOMPARE(calls[i].total, calls.front().total);
        QVERIFY(calls[i].step == cardIndexStepText() || calls[i].step == nameIndexStepText());
    }
    // The cards' step ends where the names' begins, each of them moving more than once.
    const auto firstNames =
        std::find_if(calls.begin(), calls.end(), [](const ProgressCall &c) { return c.step == nameIndexStepText(); });
    QVERIFY(firstNames != calls.begin() && firstNames != calls.end());
    QCOMPARE((firstNames - 1)->built, firstNames->built);
    QVERIFY(firstNames->built > 2 && calls.back().built - firstNames->built > 2);

    r.connection.close();
    calls.clear();
    QVERIFY(r.connection.connectAccess(r.path(), QString()));
    QVERIFY(calls.empty());
}

// A program stopped in the middle of the build (killed, or the power gone) leaves the register as
// it was before: the next open builds the whole index again.
void TestMemberCardIndex::interruptedBuildIsMadeAgainOnTheNextOpen()
{
    FILE_REGISTER_ONLY("the file's journal");
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    const QStringList expected = olderRegisterOf60(r);

    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // Dies as abruptly as a killed process, halfway through the cards, its transaction open.
        DBConnection connection;
        connection.setIndexBuildProgress([](int built, int, const QString &step) {
            if (step == cardIndexStepText() && built == 10)
                _exit(7);
        });
        connection.connectAccess(r.path(), QString());
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 7);
    QVERIFY(QFile::exists(r.path() + QStringLiteral("-journal")) || QFile::exists(r.path() + QStringLiteral("-wal")));

    std::vector<ProgressCall> calls;
    r.connection.setIndexBuildProgress([&](int built, int total, const QString &step) {
        calls.push_back({built, total, step});
    });
    QVERIFY(r.connection.connectAccess(r.path(), QString()));
    QVERIFY(!calls.empty());
    QCOMPARE(calls.front().built, 0);
    QCOMPARE(r.index(), expected);
    QCOMPARE(r.nameHits(u"户59"_qs), 1);
}

void TestMemberCardIndex::rebuildMendsADriftedIndex()
{
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    const qint64 one = r.add(2016, QStringLiteral("村A"), {u"张三:"_qs + kCardA});
    // Written by a program that does not keep the index (no triggers on its connection).
    QVERIFY(execScript(r.connection,
                       u"DELETE FROM 成员身份证; INSERT INTO 成员身份证 VALUES (99, 2000, 'x', '甲', '1')"_qs));
    QVERIFY(rebuildMemberCardIndex(r.connection));
    QCOMPARE(r.index(), (QStringList{row(one, 2016, u"村A"_qs, u"张三"_qs, kCardA)}));
    QCOMPARE(r.nameHits(u"张三"_qs), 1);
    QCOMPARE(r.nameHits(u"甲"_qs), 0);
}

void TestMemberCardIndex::bulkLoadOfANewRegisterIsIndexed()
{
    FILE_REGISTER_ONLY("a file made by a bulk load");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.mdb"));
    QString error;
    const RegisterLoad load = [](DBConnection &connection, QString &) {
        Statement insert(connection,
                         QStringLiteral("INSERT INTO 成员信息 (录入年份, 所属管辖, 家庭人员信息) VALUES (?, ?, ?)"));
        insert.bind(1, 2015).bind(2, u"村A"_qs).bind(3, u"张三-男-"_qs + kCardA + u"-户主-汉族-初中"_qs);
        return insert.exec();
    };
    QVERIFY2(createRegisterFile(path, load, error), qPrintable(error));
    DBConnection connection;
    QVERIFY(connection.connectAccess(path, QString()));
    Statement query(connection, QStringLiteral("SELECT 录入年份 || 姓名 || 身份证号 FROM 成员身份证"));
    QVERIFY(query.step());
    QCOMPARE(query.text(0), u"2015张三"_qs + kCardA);
}

QTEST_GUILESS_MAIN(TestMemberCardIndex)
#include "tst_member_card_index.moc"
