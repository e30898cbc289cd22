#pragma once

// A small register with a region tree, a statistics page on it and the seams it needs.

#include "core/clock.h"
#include "data/db_connection.h"
#include "data/register_file.h"
#include "data/statement.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "export/spreadsheet_opener.h"
#include "printing/print_service.h"
#include "registry/test_register.h"
#include "statistics/statistics_page.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/tree_box.h"

#include <QTemporaryDir>

#include <memory>

// The register is a file, or a schema on the test server (registry/test_register.h).
struct StatisticsFixture {
    QTemporaryDir dir;
    TestRegister store;
    fenlark::DBConnection &connection = store.connection();
    fenlark::ScriptedDialogs dialogs;
    fenlark::FixedClock clock{QDateTime(QDate(2021, 5, 1), QTime(9, 0))};
    fenlark::RecordingSpreadsheetOpener opener;
    fenlark::ExcelApplication excel{opener, clock};
    fenlark::ExcelWorkbook workbook;
    std::unique_ptr<fenlark::PdfPrintService> printer;
    std::unique_ptr<fenlark::StatisticsPage> page;

    bool open()
    {
        printer = std::make_unique<fenlark::PdfPrintService>(dir.filePath(QStringLiteral("printed.pdf")));
        return store.ok();
    }

    bool addUnit(int level, const QString &name, const QString &parent)
    {
        fenlark::Statement insert(
            connection, QStringLiteral("INSERT INTO 区域管理 (标识, 区域, 单位名称, 直属管辖) VALUES (?, '', ?, ?)"));
        insert.bind(1, level).bind(2, name).bind(3, parent);
        return insert.exec();
    }
    bool addYear(int year)
    {
        fenlark::Statement insert(connection, QStringLiteral("INSERT INTO 年份管理 (年份) VALUES (?)"));
        return insert.bind(1, year).exec();
    }
    // flags: the stored values of 是否合作医疗, 是否养老保险, 是否残疾, 是否党员, 是否上访户 and
    // 是否违法, one character each, "N" for NULL. A parent of "<null>" is stored as NULL.
    bool addHousehold(const QString &unit, const QString &parent, int year, const QString &category,
                      const QString &flags)
    {
        fenlark::Statement insert(
            connection, QStringLiteral("INSERT INTO 成员信息 (所属管辖, 上级管辖, 录入年份, 农户属性, 是否合作医疗, "
                                       "是否养老保险, 是否残疾, 是否党员, 是否上访户, 是否违法) "
                                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        insert.bind(1, unit);
        if (parent == QStringLiteral("<null>"))
            insert.bindNull(2);
        else
            insert.bind(2, parent);
        insert.bind(3, year).bind(4, category);
        for (int i = 0; i < 6; ++i) {
            if (flags.at(i) == u'N')
                insert.bindNull(5 + i);
            else
                insert.bind(5 + i, flags.at(i).digitValue());
        }
        return insert.exec();
    }

    fenlark::StatisticsPage &makePage()
    {
        page = std::make_unique<fenlark::StatisticsPage>(
            fenlark::StatisticsServices{connection, dialogs, clock, excel, workbook, *printer, 2});
        page->refresh();
        return *page;
    }

    // Chooses the first unit item with the text and the year item with the text, as a click would.
    bool choose(const QString &unit, const QString &year)
    {
        fenlark::ComboBox &years = page->yearList();
        int yearIndex = -1;
        for (int i = 0; i < years.itemCount(); ++i) {
            if (years.itemText(i) == year)
                yearIndex = i;
        }
        fenlark::TreeBox &tree = page->unitTree();
        int unitIndex = -1;
        for (int i = 0; i < tree.itemCount() && unitIndex < 0; ++i) {
            if (tree.itemText(i) == unit)
                unitIndex = i;
        }
        if (yearIndex < 0 || unitIndex < 0)
            return false;
        years.setCurrentIndex(yearIndex);
        Q_EMIT years.itemSelected(yearIndex);
        tree.select(unitIndex);
        page->recount();
        return true;
    }

    // The table's data rows, each as its cells joined by blanks.
    QStringList tableLines() const
    {
        QStringList lines;
        const fenlark::EGrid &grid = page->table();
        for (int r = 1; r < grid.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid.columnCount(); ++c)
                cells << grid.cellText(r, c);
            lines << cells.join(u' ');
        }
        return lines;
    }
};
