#include "printing/print_service.h"

#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace fenlark {

namespace {

void prepare(QPrinter &printer, const PrintJob &job)
{
    printer.setDocName(job.documentName);
    printer.setCreator(QStringLiteral("Fenlark"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(job.orientation);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

} // namespace

bool PreviewPrintService::print(QWidget *parent, const PrintJob &job)
{
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer, job);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(job.documentName);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&job](QPrinter *target) { job.paint(*target); });
    return preview.exec() == QDialog::Accepted;
}

bool PdfPrintService::print(QWidget *, const PrintJob &job)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_path);
    prepare(printer, job);
    m_printed << job.documentName;
    return job.paint(printer);
}

} // namespace fenlark
