#pragma once

#include "support/test_server_schema.h"

#include "data/db_connection.h"
#include "data/member_card_index.h"
#include "data/register_file.h"
#include "data/server_schema.h"
#include "data/statement.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

// A register made as the tool makes one (tables, indexes, member-card index), opened on its own
// connection, with raw helpers that write households as any part of the program would.
//
// With FENLARK_TEST_ENGINE=postgresql the register is a fresh schema on the server named by
// FENLARK_TEST_PG (tests/support/pg_cluster.sh), made as a county's server register is made and
// dropped at the end; without a server skipReason() says why the test cannot run.
class MemberRegister {
public:
    static bool onServer() { return qgetenv("FENLARK_TEST_ENGINE") == "postgresql"; }

    MemberRegister()
    {
        if (onServer()) {
            openOnServer();
            return;
        }
        m_path = m_dir.filePath(QStringLiteral("data.mdb"));
        QString error;
        m_ready = fenlark::createRegisterFile(m_path, error) && connection.connectAccess(m_path, QString());
    }

    ~MemberRegister()
    {
        if (!m_schema.isEmpty())
            fenlark::execScript(connection, QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
    }

    bool isReady() const { return m_ready; }
    QString skipReason() const { return m_skipReason; }
    QString path() const { return m_path; }
    // The schema of the register on the server ("" for a file).
    QString schemaName() const { return m_schema; }

    // Inserts a household; members as "name:card" pairs, the first the head. Returns its rowid.
    qint64 add(int year, const QString &unit, const QStringList &members, const QString &sex = QStringLiteral("男"))
    {
        QStringList packed;
        for (const QString &member : members)
            packed << member.section(u':', 0, 0) + u'-' + sex + u'-' + member.section(u':', 1) +
                          QStringLiteral("-户主-汉族-初中");
        return addPacked(year, unit, members.value(0).section(u':', 0, 0), packed.join(u','),
                         members.value(0).section(u':', 1));
    }

    // Inserts a household with its 家庭人员信息 as given.
    qint64 addPacked(int year, const QString &unit, const QString &head, const QString &packed,
                     const QString &headCard = QString())
    {
        fenlark::Statement insert(connection,
                                  QStringLiteral("INSERT INTO 成员信息 (录入年份, 所属管辖, 户主, 户主信息, "
                                                 "家庭人员信息) VALUES (?, ?, ?, ?, ?) RETURNING rowid"));
        insert.bind(1, year)
            .bind(2, unit)
            .bind(3, head)
            .bind(4, head + QStringLiteral("-男-") + headCard + QStringLiteral("-初中"))
            .bind(5, packed);
        return insert.step() ? insert.int64(0) : 0;
    }

    // The index as "户id|录入年份|所属管辖|姓名|身份证号", ordered.
    QStringList index()
    {
        QStringList rows;
        fenlark::Statement query(connection, QStringLiteral("SELECT 户id, 录入年份, 所属管辖, 姓名, 身份证号 FROM "
                                                            "成员身份证 ORDER BY 户id, rowid"));
        while (query.step())
            rows << QStringList{query.text(0), query.text(1), query.text(2), query.text(3), query.text(4)}.join(u'|');
        return rows;
    }

    // Members the name index finds holding these characters in a row (on a file: the full-text
    // index alone, so an entry it kept for a member gone shows).
    qint64 nameHits(const QString &characters)
    {
        const QString sql =
            onServer() ? QStringLiteral("SELECT count(*) FROM 成员身份证 WHERE regexp_split_to_array(姓名, '') @> "
                                        "regexp_split_to_array(?1, '') AND strpos(姓名, ?1) > 0")
                       : QStringLiteral("SELECT count(*) FROM 成员姓名检索 WHERE 成员姓名检索 MATCH ?1");
        fenlark::Statement query(connection, sql);
        query.bind(1, onServer() ? characters : fenlark::namePhraseQuery(characters));
        return query.step() ? query.int64(0) : -1;
    }

    // Opens another connection on the same register, as a second program would.
    bool connectAgain(fenlark::DBConnection &other)
    {
        if (m_schema.isEmpty())
            return other.connectAccess(m_path, QString());
        return other.connectServer(QString::fromLocal8Bit(qgetenv("FENLARK_TEST_PG"))) &&
               fenlark::execScript(other, QStringLiteral("SET search_path TO ") + m_schema);
    }

    fenlark::DBConnection connection;

private:
    void openOnServer() { m_ready = openTestServerSchema(connection, QStringLiteral("m"), m_schema, m_skipReason); }

    QTemporaryDir m_dir;
    QString m_schema;
    QString m_skipReason;
    QString m_path;
    bool m_ready = false;
};

// Skips when the register has no engine to run on (the server tests without a server), else
// requires it made.
#define REQUIRE_MEMBER_REGISTER(store)                                                                                 \
    do {                                                                                                               \
        if (!(store).skipReason().isEmpty())                                                                           \
            QSKIP(qPrintable((store).skipReason()));                                                                   \
        QVERIFY((store).isReady());                                                                                    \
    } while (false)

// A case about the register file's own ways (its opening, its journal): not run on the server.
#define FILE_REGISTER_ONLY(why)                                                                                        \
    do {                                                                                                               \
        if (MemberRegister::onServer())                                                                                \
            QSKIP("register file only: " why);                                                                         \
    } while (false)
