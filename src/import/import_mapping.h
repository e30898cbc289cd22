#pragma once

#include "import/access_reader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

// How the rows of an Access register become rows of ours: which column of the Access table
// feeds which column of the register, which Access types each kind of column takes, and the
// conversion of each value.
namespace fenlark::importer {

// The kinds the register's columns are read as.
enum class FieldKind { Integer, YesNo, Number, DateTime, Text };

struct TargetColumn {
    QString name;
    FieldKind kind = FieldKind::Text;
};

struct TargetTable {
    QString name;
    QList<TargetColumn> columns; // in the order of the new file's table
};

// 成员信息 (with its id), 区域管理 and 年份管理, with every column of our schema.
const QList<TargetTable> &registerTables();

// The Access types a column of the kind takes, e.g. "Byte, Integer or Long Integer".
QString acceptedTypesText(FieldKind kind);
bool acceptsType(FieldKind kind, AccessType type);

// One table's mapping: for each target column the index of its Access column.
struct TablePlan {
    QString table;
    QList<TargetColumn> columns;
    QList<int> source;
    // Columns of the Access table the register has no place for, as "name (type)".
    QStringList extraColumns;
};

// Matches the Access columns to the target's by name (Access ignores the case of names, so
// "ID" feeds id). Every missing column and every column of a type the register cannot keep
// is added to problems, one line each; true when there was none.
bool planTable(const TargetTable &target, const QList<AccessColumn> &source, TablePlan &plan, QStringList &problems);

// A value to bind: NULL, an integer, a real number or a text.
using SqlValue = std::variant<std::monostate, qint64, double, QString>;

// Converts one Access row to the plan's columns. NULL stays NULL in every kind: the record
// layer reads a NULL the way the register's program always read one (0, false, "", no date).
// Yes/No becomes 0 or 1, a Date/Time its stored "YYYY-MM-DD HH:MM:SS" text. A row whose
// 成员信息 id is NULL is refused: ids are kept, and there would be none to keep.
bool mapRow(const TablePlan &plan, const AccessRow &row, std::vector<SqlValue> &out, QString &error);

} // namespace fenlark::importer
