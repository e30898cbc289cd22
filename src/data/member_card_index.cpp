#include "data/member_card_index.h"

#include "core/text.h"
#include "data/db_connection.h"
#include "data/schema.h"
#include "data/server_member_index.h"
#include "data/statement.h"

#include <sqlite3.h>

#include <QJsonArray>
#include <QJsonDocument>

#include <optional>
#include <utility>

namespace fenlark {

namespace {

// The members of a packed 家庭人员信息 as JSON, [[name, card], ...], for json_each in the triggers:
// the packing rules live here once instead of in SQL string surgery. Entries without a name are
// not members (the save never packs them); a stored entry short of fields has an empty card.
QByteArray membersJson(const QString &packed)
{
    QJsonArray members;
    if (!packed.isEmpty()) {
        for (const QString &entry : splitFields(packed, u',')) {
            const QStringList fields = splitFields(entry, u'-');
            const QString name = fields.value(0);
            if (name.isEmpty())
                continue;
            members.append(QJsonArray{name, fields.value(2)});
        }
    }
    return QJsonDocument(members).toJson(QJsonDocument::Compact);
}

QString argumentText(sqlite3_value *value)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return text ? QString::fromUtf8(text, sqlite3_value_bytes(value)) : QString();
}

void membersFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const QByteArray json = membersJson(argumentText(argv[0]));
    sqlite3_result_text(context, json.constData(), int(json.size()), SQLITE_TRANSIENT);
}

void nameTokensFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const QByteArray tokens = nameSearchTokens(argumentText(argv[0])).toUtf8();
    sqlite3_result_text(context, tokens.constData(), int(tokens.size()), SQLITE_TRANSIENT);
}

bool tableExists(DBConnection &connection, const QString &name)
{
    Statement probe(connection, QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?"));
    probe.bind(1, name);
    return probe.step();
}

QString createSql()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS \"成员身份证\" (\n"
        "  \"户id\" INTEGER,\n"
        "  \"录入年份\" INTEGER,\n"
        "  \"所属管辖\" TEXT,\n"
        "  \"姓名\" TEXT,\n"
        "  \"身份证号\" TEXT\n"
        ");\n"
        "CREATE INDEX IF NOT EXISTS \"成员身份证_户\" ON \"成员身份证\" (\"户id\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员身份证_身份证号\" ON \"成员身份证\" (\"身份证号\", \"录入年份\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员身份证_管辖_年份\" ON \"成员身份证\" (\"所属管辖\", \"录入年份\");\n"
        // The ascii tokenizer makes every non-ASCII character part of a token, so names of any
        // script, rare characters beyond the BMP included, are indexed exactly as the blanks cut them.
        "CREATE VIRTUAL TABLE IF NOT EXISTS \"成员姓名检索\" USING fts5(\"字\", content='', columnsize=0, "
        "tokenize='ascii');\n");
}

// Statements shared by the triggers and the rebuild.
const char kInsertMembers[] =
    "INSERT INTO \"成员身份证\" (\"户id\", \"录入年份\", \"所属管辖\", \"姓名\", \"身份证号\") "
    "SELECT new.rowid, new.\"录入年份\", new.\"所属管辖\", json_extract(m.value, '$[0]'), "
    "json_extract(m.value, '$[1]') FROM json_each(fenlark_members(new.\"家庭人员信息\")) AS m;\n"
    "INSERT INTO \"成员姓名检索\" (rowid, \"字\") SELECT rowid, fenlark_name_tokens(\"姓名\") "
    "FROM \"成员身份证\" WHERE \"户id\" = new.rowid;\n";
const char kDeleteMembers[] = "INSERT INTO \"成员姓名检索\" (\"成员姓名检索\", rowid, \"字\") SELECT 'delete', rowid, "
                              "fenlark_name_tokens(\"姓名\") FROM \"成员身份证\" WHERE \"户id\" = old.rowid;\n"
                              "DELETE FROM \"成员身份证\" WHERE \"户id\" = old.rowid;\n";

QString triggersSql()
{
    const QString insert = QString::fromUtf8(kInsertMembers);
    const QString remove = QString::fromUtf8(kDeleteMembers);
    return QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS \"成员身份证_添加\" AFTER INSERT ON main.\"成员信息\" "
                          "BEGIN\n") +
           insert + QStringLiteral("END;\n") +
           QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS \"成员身份证_删除\" AFTER DELETE ON main.\"成员信息\" "
                          "BEGIN\n") +
           remove + QStringLiteral("END;\n") +
           QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS \"成员身份证_修改\" AFTER UPDATE OF \"家庭人员信息\", "
                          "\"录入年份\", \"所属管辖\" ON main.\"成员信息\" BEGIN\n") +
           remove + insert + QStringLiteral("END;\n");
}

// The fill goes in slices of the rowids, each step reported, so that the clerk watching the
// first open of an older register of a million households (about a minute) sees it move.
constexpr int kSlices = 20;

// The range of rowids of table, or none when it is empty.
std::optional<std::pair<qint64, qint64>> rowidRange(DBConnection &connection, const QString &table)
{
    Statement range(connection, QStringLiteral("SELECT min(rowid), max(rowid) FROM \"%1\"").arg(table));
    if (!range.step() || range.value(0).type == FieldValue::Type::Null)
        return std::nullopt;
    return std::make_pair(range.int64(0), range.int64(1));
}

// Runs sql, whose two parameters are a first and a last rowid, over the slices of range, and
// reports the slices done as steps done + 1 onwards of total.
bool runInSlices(DBConnection &connection, const QString &sql, const std::optional<std::pair<qint64, qint64>> &range,
                 int done, int total, const QString &step)
{
    connection.reportIndexBuild(done, total, step);
    if (!range)
        return true;
    Statement slice(connection, sql);
    const auto [low, high] = *range;
    const quint64 width = (quint64(high) - quint64(low)) / kSlices + 1;
    for (int i = 0; i < kSlices; ++i) {
        const qint64 first = qint64(quint64(low) + quint64(i) * width);
        const qint64 last = i + 1 == kSlices ? high : qint64(quint64(first) + width - 1);
        slice.reset();
        slice.bind(1, first).bind(2, last);
        if (!slice.exec())
            return false;
        connection.reportIndexBuild(done + i + 1, total, step);
        if (last >= high)
            break;
    }
    connection.reportIndexBuild(done + kSlices, total, step);
    return true;
}

bool fill(DBConnection &connection)
{
    if (!execScript(connection,
                    QStringLiteral("INSERT INTO \"成员姓名检索\" (\"成员姓名检索\") VALUES ('delete-all');\n"
                                   "DELETE FROM \"成员身份证\";\n")))
        return false;
    connection.watchIndexBuild(true);
    bool ok = runInSlices(connection,
                          QStringLiteral("INSERT INTO \"成员身份证\" (\"户id\", \"录入年份\", \"所属管辖\", \"姓名\", "
                                         "\"身份证号\") SELECT h.rowid, h.\"录入年份\", h.\"所属管辖\", "
                                         "json_extract(m.value, '$[0]'), json_extract(m.value, '$[1]') "
                                         "FROM \"成员信息\" AS h, json_each(fenlark_members(h.\"家庭人员信息\")) AS m "
                                         "WHERE h.rowid BETWEEN ? AND ? ORDER BY h.rowid"),
                          rowidRange(connection, schema::households::table), 0, 2 * kSlices, cardIndexStepText());
    ok = ok &&
         runInSlices(connection,
                     QStringLiteral("INSERT INTO \"成员姓名检索\" (rowid, \"字\") SELECT rowid, "
                                    "fenlark_name_tokens(\"姓名\") FROM \"成员身份证\" WHERE rowid BETWEEN ? AND ?"),
                     rowidRange(connection, memberIndex::table), kSlices, 2 * kSlices, nameIndexStepText());
    connection.watchIndexBuild(false);
    return ok;
}

} // namespace

QString cardIndexStepText()
{
    return QStringLiteral("正在建立身份证索引…");
}

QString nameIndexStepText()
{
    return QStringLiteral("正在建立姓名检索…");
}

QString nameSearchTokens(const QString &name)
{
    QString tokens;
    tokens.reserve(name.size() * 2);
    for (const char32_t c : name.toUcs4()) {
        if (!tokens.isEmpty())
            tokens += u' ';
        tokens += QString::fromUcs4(&c, 1);
    }
    return tokens;
}

QString namePhraseQuery(const QString &fragment)
{
    QStringList tokens;
    for (const char32_t c : fragment.toUcs4()) {
        // ASCII other than letters and digits separates tokens in the index: it holds none.
        if (c < 0x80 && !((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            continue;
        tokens << QString::fromUcs4(&c, 1);
    }
    if (tokens.isEmpty())
        return {};
    return u'"' + tokens.join(u' ') + u'"';
}

void registerMemberIndexFunctions(DBConnection &connection)
{
    if (!connection.handle())
        return;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(connection.handle(), "fenlark_members", 1, flags, nullptr, membersFunction, nullptr,
                               nullptr, nullptr);
    sqlite3_create_function_v2(connection.handle(), "fenlark_name_tokens", 1, flags, nullptr, nameTokensFunction,
                               nullptr, nullptr, nullptr);
}

bool ensureMemberCardIndex(DBConnection &connection)
{
    if (connection.memberIndexReady())
        return true;
    if (connection.isServer()) {
        // The server's triggers keep it for every clerk; a clerk's program makes no tables.
        if (!serverMemberIndex::exists(connection))
            return false;
        connection.setMemberIndexReady(true);
        return true;
    }
    if (!connection.handle() || !tableExists(connection, schema::households::table))
        return false;
    if (!tableExists(connection, memberIndex::table) || !tableExists(connection, memberIndex::nameSearch)) {
        Transaction transaction(connection);
        if (!transaction.isActive() || !execScript(connection, createSql()) || !fill(connection) ||
            !transaction.commit())
            return false;
    }
    if (!execScript(connection, triggersSql()))
        return false;
    connection.setMemberIndexReady(true);
    return true;
}

bool rebuildMemberCardIndex(DBConnection &connection)
{
    if (connection.isServer()) {
        Transaction transaction(connection);
        return transaction.isActive() && execScript(connection, serverMemberIndex::createSql()) &&
               serverMemberIndex::fill(connection) && transaction.commit() && ensureMemberCardIndex(connection);
    }
    if (!connection.handle() || !tableExists(connection, schema::households::table))
        return false;
    Transaction transaction(connection);
    if (!transaction.isActive() || !execScript(connection, createSql()) || !fill(connection))
        return false;
    if (!transaction.commit())
        return false;
    return ensureMemberCardIndex(connection);
}

std::vector<qint64> householdsByMemberName(DBConnection &connection, const QString &fragment, int limit)
{
    std::vector<qint64> households;
    const QString phrase = namePhraseQuery(fragment);
    if (phrase.isEmpty() || !ensureMemberCardIndex(connection))
        return households;
    if (connection.isServer()) {
        Statement query(connection, serverMemberIndex::nameSearchSql());
        query.bind(1, fragment).bind(2, limit);
        while (query.step())
            households.push_back(query.int64(0));
        return households;
    }
    // The phrase finds the names with these characters in a row; instr keeps the exact ones
    // (the index folds ASCII case and passes over ASCII punctuation).
    Statement query(connection, QStringLiteral("SELECT DISTINCT m.\"户id\" FROM \"成员姓名检索\" AS f "
                                               "JOIN \"成员身份证\" AS m ON m.rowid = f.rowid "
                                               "WHERE f.\"字\" MATCH ?1 AND instr(m.\"姓名\", ?2) > 0 LIMIT ?3"));
    query.bind(1, phrase).bind(2, fragment).bind(3, limit);
    while (query.step())
        households.push_back(query.int64(0));
    return households;
}

} // namespace fenlark
