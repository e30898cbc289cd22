#pragma once

#include "data/db_connection.h"
#include "data/register_file.h"
#include "data/statement.h"

#include <QStringList>
#include <QTemporaryDir>

// A register made as the tool makes one (tables, indexes, member-card index), opened on its own
// connection, with raw helpers that write households as any part of the program would.
class MemberRegister {
public:
    MemberRegister()
    {
        m_path = m_dir.filePath(QStringLiteral("data.mdb"));
        QString error;
        m_ready = fenlark::createRegisterFile(m_path, error) && connection.connectAccess(m_path, QString());
    }

    bool isReady() const { return m_ready; }
    QString path() const { return m_path; }

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
                                                 "家庭人员信息) VALUES (?, ?, ?, ?, ?)"));
        insert.bind(1, year)
            .bind(2, unit)
            .bind(3, head)
            .bind(4, head + QStringLiteral("-男-") + headCard + QStringLiteral("-初中"))
            .bind(5, packed);
        insert.exec();
        fenlark::Statement id(connection, QStringLiteral("SELECT last_insert_rowid()"));
        return id.step() ? id.int64(0) : 0;
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

    // Member rowids the name index finds for a phrase.
    qint64 nameHits(const QString &phrase)
    {
        fenlark::Statement query(connection,
                                 QStringLiteral("SELECT count(*) FROM 成员姓名检索 WHERE 成员姓名检索 MATCH ?"));
        query.bind(1, phrase);
        return query.step() ? query.int64(0) : -1;
    }

    fenlark::DBConnection connection;

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_ready = false;
};
