#include "printing/household_card.h"

#include "printing/print_service.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

namespace fenlark {

namespace {

// Fields whose values run long get a line of their own.
bool isLongField(const QString &value)
{
    return value.size() > 24 || value.contains(u'\n');
}

QString cellHtml(const QString &text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(u'\n', QStringLiteral("<br>"));
    return escaped;
}

QString cardHtml(const HouseholdCard &card)
{
    QString html = QStringLiteral("<h2 align=\"center\">") + cellHtml(card.title) + QStringLiteral("</h2>");
    html += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
                           "style=\"border-collapse: collapse;\">");
    // Short fields pair up, two captions and two values to a line; a long one takes a line.
    std::vector<std::pair<QString, QString>> pending;
    const auto flush = [&] {
        if (pending.empty())
            return;
        html += QStringLiteral("<tr>");
        for (const auto &[caption, value] : pending)
            html += QStringLiteral("<td width=\"22%\" nowrap><b>") + cellHtml(caption) +
                    QStringLiteral("</b></td><td>") + cellHtml(value) + QStringLiteral("</td>");
        if (pending.size() == 1)
            html += QStringLiteral("<td width=\"22%\"></td><td></td>");
        html += QStringLiteral("</tr>");
        pending.clear();
    };
    for (const auto &field : card.fields) {
        if (isLongField(field.second)) {
            flush();
            html += QStringLiteral("<tr><td width=\"22%\" nowrap><b>") + cellHtml(field.first) +
                    QStringLiteral("</b></td><td colspan=\"3\">") + cellHtml(field.second) +
                    QStringLiteral("</td></tr>");
            continue;
        }
        pending.push_back(field);
        if (pending.size() == 2)
            flush();
    }
    flush();
    html += QStringLiteral("</table>");

    if (!card.memberHeaders.isEmpty()) {
        html += QStringLiteral("<h3>家庭人员情况</h3>");
        html += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
                               "style=\"border-collapse: collapse;\"><tr>");
        for (const QString &header : card.memberHeaders)
            html += QStringLiteral("<th>") + cellHtml(header) + QStringLiteral("</th>");
        html += QStringLiteral("</tr>");
        for (const QStringList &member : card.members) {
            html += QStringLiteral("<tr>");
            for (int c = 0; c < card.memberHeaders.size(); ++c)
                html += QStringLiteral("<td align=\"center\">") + cellHtml(member.value(c)) + QStringLiteral("</td>");
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }
    return html;
}

} // namespace

bool paintHouseholdCard(QPrinter &printer, const HouseholdCard &card)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());

    QTextDocument document;
    // The screen's font, so every character prints with the glyph the clerk saw.
    QFont font = QGuiApplication::font();
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setHtml(cardHtml(card));
    // Laid out in the printer's dots, so point sizes come out at their size on paper.
    document.documentLayout()->setPaintDevice(&printer);
    document.setTextWidth(page.width());

    const QSizeF size = document.size();
    const double scale = size.height() > page.height() ? page.height() / size.height() : 1.0;
    if (scale < 1.0) {
        // Narrower in proportion, so the scaled card still fills the page's width.
        document.setTextWidth(page.width() / scale);
    }
    painter.scale(scale, scale);
    document.drawContents(&painter);
    return painter.end();
}

bool printHouseholdCard(const HouseholdCard &card, PrintService &printer, QWidget *parent)
{
    PrintJob job;
    job.documentName = card.title;
    job.orientation = QPageLayout::Portrait;
    job.paint = [&card](QPrinter &target) { return paintHouseholdCard(target, card); };
    return printer.print(parent, job);
}

} // namespace fenlark
