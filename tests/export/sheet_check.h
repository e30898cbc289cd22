#pragma once

#include <QJsonObject>
#include <QString>

// Reads the workbook at path back with an independent reader (openpyxl) and compares it with
// expected (see check_sheet.py for the keys). Returns the differences, empty when it matches.
QString checkSheet(const QString &path, const QJsonObject &expected);
