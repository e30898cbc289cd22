#pragma once

#include <QJsonObject>
#include <QString>

// Reads the workbook at path back with an independent reader (openpyxl) and compares it with
// expected (see check_sheet.py for the keys). Returns the differences, empty when it matches.
QString checkSheet(const QString &path, const QJsonObject &expected);

// Reads both workbooks back with the same reader and compares them cell by cell (values, types,
// font sizes, alignment, borders) with their merges, column widths and row heights. Returns the
// differences, empty when they are the same.
QString compareSheets(const QString &path, const QString &referencePath);
