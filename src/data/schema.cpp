#include "data/schema.h"

#include "data/statistics_index.h"

namespace fenlark::schema {

QString createTablesSql()
{
    return QStringLiteral(
        "CREATE TABLE \"成员信息\" (\n"
        "  \"id\" INTEGER PRIMARY KEY AUTOINCREMENT,\n"
        "  \"录入年份\" INTEGER,\n"
        "  \"所属管辖\" TEXT,\n"
        "  \"上级管辖\" TEXT,\n"
        "  \"户主\" TEXT,\n"
        "  \"户主信息\" TEXT,\n"
        "  \"首拼音\" TEXT,\n"
        "  \"农户属性\" TEXT,\n"
        "  \"是否计划生育\" BOOLEAN,\n"
        "  \"是否合作医疗\" BOOLEAN,\n"
        "  \"是否养老保险\" BOOLEAN,\n"
        "  \"社保缴纳金额\" DOUBLE,\n"
        "  \"上年度领取的低保金\" DOUBLE,\n"
        "  \"年收入\" DOUBLE,\n"
        "  \"家庭人员信息\" TEXT,\n"
        "  \"联系电话\" TEXT,\n"
        "  \"开户银行\" TEXT,\n"
        "  \"银行帐号\" TEXT,\n"
        "  \"健康状况\" TEXT,\n"
        "  \"是否违法\" BOOLEAN,\n"
        "  \"违法形为\" TEXT,\n"
        "  \"是否残疾\" BOOLEAN,\n"
        "  \"是否党员\" BOOLEAN,\n"
        "  \"入党时间\" DATETIME,\n"
        "  \"党内职务\" TEXT,\n"
        "  \"是否上访户\" BOOLEAN,\n"
        "  \"录入时间\" DATETIME,\n"
        "  \"家庭状况\" TEXT,\n"
        "  \"标签\" TEXT,\n"
        "  \"家庭住址\" TEXT,\n"
        "  \"家庭经营\" TEXT\n"
        ");\n"
        "CREATE TABLE \"区域管理\" (\n"
        "  \"标识\" INTEGER,\n"
        "  \"区域\" TEXT,\n"
        "  \"单位名称\" TEXT,\n"
        "  \"直属管辖\" TEXT\n"
        ");\n"
        "CREATE TABLE \"年份管理\" (\n"
        "  \"年份\" INTEGER\n"
        ");\n");
}

QString createIndexesSql()
{
    return QStringLiteral(
        "CREATE INDEX IF NOT EXISTS \"成员信息_管辖_年份\" ON \"成员信息\" (\"所属管辖\", \"录入年份\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_管辖_上级_年份\" ON \"成员信息\" (\"所属管辖\", \"上级管辖\", \"录入年份\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_管辖_首拼音\" ON \"成员信息\" (\"所属管辖\", \"首拼音\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_户主\" ON \"成员信息\" (\"户主\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_标签\" ON \"成员信息\" (\"标签\");\n"
        // The query window's criteria over every village: each on the very expression the query
        // compares, yes/no read as not 0 and NULL as no, a missing health as the empty text. A
        // switch's index also holds the stored value, which a word or a fraction needs to be
        // read exactly; each holds its column, so the store finds the rowids without the table
        // (it will not answer from an index on an expression alone).
        "CREATE INDEX IF NOT EXISTS \"成员信息_健康状况\" ON \"成员信息\" (IFNULL(\"健康状况\", ''), \"健康状况\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_是否计划生育\" ON \"成员信息\" ((IFNULL(\"是否计划生育\", 0) <> 0), \"是否计划生育\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_是否合作医疗\" ON \"成员信息\" ((IFNULL(\"是否合作医疗\", 0) <> 0), \"是否合作医疗\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_是否养老保险\" ON \"成员信息\" ((IFNULL(\"是否养老保险\", 0) <> 0), \"是否养老保险\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_是否违法\" ON \"成员信息\" ((IFNULL(\"是否违法\", 0) <> 0), \"是否违法\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_是否残疾\" ON \"成员信息\" ((IFNULL(\"是否残疾\", 0) <> 0), \"是否残疾\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_是否上访户\" ON \"成员信息\" ((IFNULL(\"是否上访户\", 0) <> 0), \"是否上访户\");\n"
        "CREATE INDEX IF NOT EXISTS \"成员信息_是否党员\" ON \"成员信息\" ((IFNULL(\"是否党员\", 0) <> 0), \"是否党员\");\n"
        // The statistics count every household by unit and category from an index of their own.
        ) + statisticsIndex::createSql() + QStringLiteral(
        "CREATE INDEX IF NOT EXISTS \"区域管理_单位名称\" ON \"区域管理\" (\"单位名称\");\n"
        "CREATE INDEX IF NOT EXISTS \"年份管理_年份\" ON \"年份管理\" (\"年份\");\n");
}

} // namespace fenlark::schema
