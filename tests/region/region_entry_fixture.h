#pragma once

#include "core/app_state.h"
#include "data/db_connection.h"
#include "data/schema.h"
#include "data/statement.h"
#include "region/region_list.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"

#include <QDialog>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A fresh register in a temporary folder, the region page's list as start-up fills it, and the
// state and scripted dialogs the region operations work with.
class RegionFixture {
public:
    RegionFixture()
    {
        const QString path = m_dir.filePath(QStringLiteral("data.mdb"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.close();
        m_ready = connection.connectAccess(path, QString()) &&
                  fenlark::execScript(connection, fenlark::schema::createTablesSql());
        list.setColumnCount(3);
        fenlark::setUpRegionListColumns(list);
        list.setCell(0, 0, fenlark::EGrid::TextCell, QStringLiteral("N"));
        list.setCell(0, 1, fenlark::EGrid::TextCell, QStringLiteral("区域"));
        list.setCell(0, 2, fenlark::EGrid::TextCell, QStringLiteral("详细名称"));
    }

    bool isReady() const { return m_ready; }
    bool exec(const QString &sql) { return fenlark::execScript(connection, sql); }

    // A unit in the table and, as start-up would list it, in the region list.
    void addUnit(int level, const QString &levelName, const QString &name, const QString &parent = QString())
    {
        fenlark::Statement insert(
            connection, QStringLiteral("INSERT INTO 区域管理 (标识, 区域, 单位名称, 直属管辖) VALUES (?, ?, ?, ?)"));
        insert.bind(1, level).bind(2, levelName).bind(3, name).bind(4, parent);
        insert.exec();
        list.insertRow();
        const int row = list.rowCount() - 1;
        list.setCell(row, 0, fenlark::EGrid::TextCell, QString::number(row));
        list.setCell(row, 1, fenlark::EGrid::TextCell, levelName);
        list.setCell(row, 2, fenlark::EGrid::TextCell, name);
        list.setCell(row, fenlark::kRegionListParentColumn, fenlark::EGrid::TextCell, parent);
    }

    void addHousehold(const QString &head, const QString &unit, const QString &parent = QString())
    {
        fenlark::Statement insert(
            connection,
            QStringLiteral("INSERT INTO 成员信息 (录入年份, 户主, 所属管辖, 上级管辖) VALUES (2016, ?, ?, ?)"));
        insert.bind(1, head).bind(2, unit).bind(3, parent);
        insert.exec();
    }

    // Every household as "户主|所属管辖|上级管辖", in table order.
    QStringList households()
    {
        QStringList rows;
        fenlark::Statement query(connection,
                                 QStringLiteral("SELECT 户主, 所属管辖, 上级管辖 FROM 成员信息 ORDER BY rowid"));
        while (query.step())
            rows << query.text(0) + u'|' + query.text(1) + u'|' + query.text(2);
        return rows;
    }

    int householdCount() { return int(households().size()); }

    // Every unit as "标识|区域|单位名称|直属管辖", in table order.
    QStringList units()
    {
        QStringList rows;
        fenlark::Statement query(connection,
                                 QStringLiteral("SELECT 标识, 区域, 单位名称, 直属管辖 FROM 区域管理 ORDER BY rowid"));
        while (query.step()) {
            rows << QString::number(query.int64(0)) + u'|' + query.text(1) + u'|' + query.text(2) + u'|' +
                        query.text(3);
        }
        return rows;
    }

    // Every data row of the region list as "N|区域|详细名称".
    QStringList listRows() const
    {
        QStringList rows;
        for (int r = 1; r < list.rowCount(); ++r)
            rows << list.cellText(r, 0) + u'|' + list.cellText(r, 1) + u'|' + list.cellText(r, 2);
        return rows;
    }

    fenlark::DBConnection connection;
    fenlark::EGrid list;
    fenlark::AppState state;
    fenlark::ScriptedDialogs dialogs;

private:
    QTemporaryDir m_dir;
    bool m_ready = false;
};

// The entry window's controls, found by their design names.
struct EntryForm {
    explicit EntryForm(QDialog *window)
        : levels(window->findChild<fenlark::ComboBox *>(QStringLiteral("组合框1"))),
          parents(window->findChild<fenlark::ComboBox *>(QStringLiteral("组合框2"))),
          name(window->findChild<fenlark::EditBox *>(QStringLiteral("编辑框1"))),
          ok(window->findChild<fenlark::Button *>(QStringLiteral("按钮_确认"))),
          quit(window->findChild<fenlark::Button *>(QStringLiteral("按钮_退出")))
    {
    }

    // As the user does it: the choice reports itemSelected through QComboBox::activated.
    void chooseLevel(int index)
    {
        levels->setCurrentIndex(index);
        Q_EMIT levels->activated(index);
    }

    QStringList parentItems() const
    {
        QStringList items;
        for (int i = 0; i < parents->itemCount(); ++i)
            items << parents->itemText(i);
        return items;
    }

    fenlark::ComboBox *levels;
    fenlark::ComboBox *parents;
    fenlark::EditBox *name;
    fenlark::Button *ok;
    fenlark::Button *quit;
};
