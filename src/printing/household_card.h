#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QPrinter;
class QWidget;

namespace fenlark {

class PrintService;

// One household's whole record for paper: every field of the form as a caption and its value,
// and the family members with the member grid's columns.
struct HouseholdCard {
    QString title = QStringLiteral("农户信息卡");
    std::vector<std::pair<QString, QString>> fields;
    QStringList memberHeaders;
    std::vector<QStringList> members;
};

// Paints the card on one page: the fields two to a line, long texts (address, family
// situation) over the whole width, the members as a bordered table. A card too long for the
// page is scaled down until it fits, so it never runs onto a second page.
bool paintHouseholdCard(QPrinter &printer, const HouseholdCard &card);

// "打印" of the household form: the card through the print service, portrait.
bool printHouseholdCard(const HouseholdCard &card, PrintService &printer, QWidget *parent);

} // namespace fenlark
