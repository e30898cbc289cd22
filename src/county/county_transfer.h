#pragma once

#include <QString>
#include <QStringList>

namespace fenlark {
class DBConnection;
}

// Bringing a township's register file onto the county server, and a part of the server back
// into a file for offline work. Units are matched by their path (their name and the names of
// their parents up to the root), since the file and the server number them differently.
namespace fenlark::county {

struct PushReport {
    int unitsAdded = 0;
    int unitsMatched = 0;
    int householdsAdded = 0;
    int yearsAdded = 0;
    // Households the server has already (same year, unit, 户主 and card): "2024 一村 张三 <card>".
    QStringList householdsThere;
};

// Adds the file's units (created when missing), households with their members (appended in the
// file's order of entry) and years to the server, in one transaction: on any failure nothing is
// added and error holds the server's words.
bool pushRegister(DBConnection &file, DBConnection &server, PushReport &report, QString &error);

struct PullReport {
    int units = 0;
    int households = 0;
    int years = 0;
};

// Writes the server's register (township empty) or one township's part of it (its units with
// their parents, and its households) into a new register file at path, in the server's order
// of entry. Refuses a path where a file is; leaves no file behind on failure.
bool pullRegister(DBConnection &server, const QString &township, const QString &path, PullReport &report,
                  QString &error);

} // namespace fenlark::county
